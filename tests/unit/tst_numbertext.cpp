#include "tests/exactcompare.h"
#include "model/numbertext.h"

#include "tests/testregistry.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>
#include <random>
#include <utility>

using namespace korvelian;

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void textNumber_data();
    void textNumber();
    void numberText_data();
    void numberText();
    void toInt16_data();
    void toInt16();
    void germanNumber_data();
    void germanNumber();
    void germanNumberAsQtWritesIt();
};

void TestNumberText::textNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    const double inf = std::numeric_limits<double>::infinity();

    QTest::newRow("leading blanks, then the numeric prefix") << "  2.5abc" << 2.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("no digit before the point") << ".5" << 0.5;
    QTest::newRow("written by the buttons") << " 2" << 2.0;
    QTest::newRow("explicit plus") << "+7" << 7.0;
    QTest::newRow("tab and newline count as blanks") << "\t\n4" << 4.0;
    QTest::newRow("blank only") << "   " << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("point only") << "." << 0.0;
    QTest::newRow("incomplete exponent") << "1e" << 1.0;
    QTest::newRow("exponent sign without digits") << "2E+" << 2.0;
    QTest::newRow("capital exponent") << "2E2" << 200.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("comma is not a decimal separator") << "2,5" << 2.0;
    QTest::newRow("blank inside the number ends it") << "1 2" << 1.0;
    QTest::newRow("hex prefix reads its zero") << "0x10" << 0.0;
    QTest::newRow("ampersand hex is not a number") << "&H10" << 0.0;
    QTest::newRow("nan is not a number") << "nan" << 0.0;
    QTest::newRow("inf is not a number") << "inf" << 0.0;
    QTest::newRow("largest double") << "1e308" << 1e308;
    QTest::newRow("beyond a double") << "1e309" << inf;
    QTest::newRow("beyond a double, negative") << "-1e309" << -inf;
    QTest::newRow("far beyond a double") << "1e99999999999999999999" << inf;
    QTest::newRow("too small for a double") << "1e-400" << 0.0;
    QTest::newRow("too small, written out") << "0." + QString(400, '0') + "1" << 0.0;
    QTest::newRow("too large, written out") << QString(400, '9') << inf;
    QTest::newRow("minus zero") << "-0" << 0.0;
    QTest::newRow("non-ASCII after the number") << "3€" << 3.0;
}

void TestNumberText::textNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    const double value = korvelian::textNumber(text.toStdString());
    COMPARE_EXACT(value, expected);
}

void TestNumberText::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whole number gets a leading blank") << 2.0 << " 2";
    QTest::newRow("negative gets a minus") << -1.0 << "-1";
    QTest::newRow("fifteen digits hide the binary error") << 2.1 + 1 << " 3.1";
    QTest::newRow("zero") << 0.0 << " 0";
    QTest::newRow("minus zero is written like zero") << -0.0 << " 0";
    QTest::newRow("largest closing count") << 32767.0 << " 32767";
    QTest::newRow("beyond 16 bits") << 32768.0 << " 32768";
    QTest::newRow("fraction") << 1.5 << " 1.5";
    QTest::newRow("fifteen significant digits") << 1.0 / 3.0 << " 0.333333333333333";
    QTest::newRow("large numbers in exponent form") << 1e20 << " 1E+20";
    QTest::newRow("small numbers in exponent form") << 1e-5 << " 1E-05";
}

void TestNumberText::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(korvelian::numberText(value)), expected);
}

void TestNumberText::toInt16_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");

    QTest::newRow("tie to even, down") << 2.5 << true << 2;
    QTest::newRow("tie to even, up") << 3.5 << true << 4;
    QTest::newRow("negative tie") << -2.5 << true << -2;
    QTest::newRow("below a half") << 2.4999 << true << 2;
    QTest::newRow("above a half") << 2.5001 << true << 3;
    QTest::newRow("largest") << 32767.0 << true << 32767;
    QTest::newRow("rounds beyond the largest") << 32767.5 << false << 0;
    QTest::newRow("smallest") << -32768.0 << true << -32768;
    QTest::newRow("tie to the even smallest") << -32768.5 << true << -32768;
    QTest::newRow("below the smallest") << -32769.0 << false << 0;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << false << 0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << false << 0;
    QTest::newRow("huge") << 1e300 << false << 0;
}

void TestNumberText::toInt16()
{
    QFETCH(double, value);
    QFETCH(bool, fits);
    QFETCH(int, expected);
    const auto result = korvelian::toInt16(value);
    QCOMPARE(result.has_value(), fits);
    if (fits)
        QCOMPARE(int(*result), expected);
}

void TestNumberText::germanNumber_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<char>("format");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("text");
    QTest::newRow("largest ratio, no group separator") << 32767.0 << 'g' << 10 << "32767";
    QTest::newRow("decimal comma") << 1.5 << 'g' << 10 << "1,5";
    QTest::newRow("amplitude to two decimals") << 0.5 << 'f' << 2 << "0,50";
    QTest::newRow("a tie rounds away from zero") << 0.125 << 'f' << 2 << "0,13";
    QTest::newRow("a negative tie too") << -0.125 << 'f' << 2 << "-0,13";
    QTest::newRow("below a tie stays below") << 2.675 << 'f' << 2 << "2,67";
    QTest::newRow("a tie where the double steps by eighths")
        << 656217060266797.125 << 'f' << 2 << "656217060266797,13";
    QTest::newRow("a rounding carry adds a digit") << 99.96 << 'f' << 1 << "100,0";
    QTest::newRow("-0 has no sign") << -0.0 << 'f' << 2 << "0,00";
    QTest::newRow("a small negative keeps it") << -0.001 << 'f' << 2 << "-0,00";
    QTest::newRow("capital exponent") << 1e-5 << 'g' << 10 << "1E-05";
    QTest::newRow("exponent from the precision on") << 32767.0 << 'g' << 3 << "3,28E+04";
    QTest::newRow("trailing zeros dropped") << 0.1 << 'g' << 3 << "0,1";
}

void TestNumberText::germanNumber()
{
    QFETCH(double, value);
    QFETCH(char, format);
    QFETCH(int, precision);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(korvelian::germanNumber(value, format, precision)), text);
}

void TestNumberText::germanNumberAsQtWritesIt()
{
    // Pictures made before numbers were written without the toolkit read exactly as they did.
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        // Bar values in hundredths, their degrees, ratios, speeds and steps of every size.
        const double value = i % 4 == 0   ? (static_cast<int>(random() % 70000) - 35000) / 100.0
                             : i % 4 == 1 ? (static_cast<int>(random() % 629)) * 0.572957795
                             : i % 4 == 2 ? static_cast<double>(random() % 40000) / 8
                                          : std::ldexp(static_cast<double>(random() % 1000 + 1),
                                                       static_cast<int>(random() % 60) - 40);
        for (const auto& [format, precision] : {std::pair{'g', 10}, {'g', 3}, {'f', 2}, {'f', 1}}) {
            const QString expected = german.toString(value, format, precision);
            const QString actual =
                QString::fromStdString(korvelian::germanNumber(value, format, precision));
            if (actual != expected)
                QFAIL(qPrintable(QString("%1 as %2 %3: %4, not %5")
                                     .arg(value, 0, 'g', 17)
                                     .arg(format)
                                     .arg(precision)
                                     .arg(actual, expected)));
        }
    }
}

KORVELIAN_PLAIN_TEST(numbertext, TestNumberText)
#include "tst_numbertext.moc"
