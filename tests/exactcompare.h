#pragma once

#include <QByteArray>
#include <QTest>

// QCOMPARE on floating-point values is fuzzy. Where the program promises a value to the last
// bit (a double accumulated or formed in a given order, a value handed over in single
// precision) the comparison must be exact.
#define COMPARE_EXACT(actual, expected)                                                            \
    do {                                                                                           \
        const auto actualValue = (actual);                                                         \
        const decltype(actualValue) expectedValue = (expected);                                    \
        QVERIFY2(actualValue == expectedValue,                                                     \
                 (QByteArray(#actual " is ") + QByteArray::number(double(actualValue), 'g', 17) +  \
                  ", expected " + QByteArray::number(double(expectedValue), 'g', 17))              \
                     .constData());                                                                \
    } while (false)
