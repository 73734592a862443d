#pragma once

#include <QGuiApplication>
#include <QTest>

#include <functional>

namespace korvelian {

// Several test areas share one executable, which compiles and links once; each ctest entry
// still runs one area in a process of its own: `tst_widgets zoom [Qt Test arguments]`.
using TestRunner = std::function<int(int argc, char* argv[])>;

bool registerTest(const char* area, TestRunner run);

// Runs the area named by argv[1] with the arguments after it.
int runRegisteredTest(int argc, char* argv[]);

template <typename TestClass> int runPlainTest(int argc, char* argv[])
{
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

// The same with a GUI application, for a test that paints text.
template <typename TestClass> int runGuiTest(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace korvelian

// The area's name is what the ctest entry passes; the runner sets up the application.
#define KORVELIAN_TEST_AREA(area, runner)                                                          \
    namespace {                                                                                    \
    [[maybe_unused]] const bool registered_##area = korvelian::registerTest(#area, runner);        \
    }

// A test that needs no application object.
#define KORVELIAN_PLAIN_TEST(area, TestClass)                                                      \
    KORVELIAN_TEST_AREA(area, korvelian::runPlainTest<TestClass>)

// A test that paints text, without widgets.
#define KORVELIAN_GUI_TEST(area, TestClass)                                                        \
    KORVELIAN_TEST_AREA(area, korvelian::runGuiTest<TestClass>)
