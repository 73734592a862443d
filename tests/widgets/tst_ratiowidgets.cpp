#include "form/form1.h"
#include "handlers/messages.h"
#include "widgets/picturearea.h"
#include "tests/windowfixture.h"

using namespace korvelian;

namespace {

// Key by key, as a user replaces a box's text.
void retype(QLineEdit* edit, const QString& text)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

} // namespace

class TestRatioWidgets : public QObject
{
    Q_OBJECT

private slots:
    void typedEntries_data();
    void typedEntries();
    void buttons_data();
    void buttons();
    void entriesReadOtherwise_data();
    void entriesReadOtherwise();
};

void TestRatioWidgets::typedEntries_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("before"); // typed into the other box first, "" for nothing
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("hint");
    const QString domain = QString::fromUtf8(kRatioDomain);
    const QString tooLarge = QString::fromUtf8(kRatioTooLarge);

    // Typed key by key into the real boxes; which entries are refused stands in tst_kgv.
    QTest::newRow("denominator 0") << "txtNenner"
                                   << ""
                                   << "0" << domain;
    QTest::newRow("numerator hex") << "txtZaehler"
                                   << ""
                                   << "&H10" << domain;
    QTest::newRow("denominator 200, numerator 199") << "txtZaehler"
                                                    << "200"
                                                    << "199" << tooLarge;
    QTest::newRow("denominator deleted") << "txtNenner"
                                         << ""
                                         << "" << domain;
}

void TestRatioWidgets::typedEntries()
{
    QFETCH(QString, box);
    QFETCH(QString, before);
    QFETCH(QString, entry);
    QFETCH(QString, hint);
    WindowFixture f;
    QVERIFY(f.show());
    auto* edit = f.control<QLineEdit>(box.toUtf8().constData());
    auto* other = f.control<QLineEdit>(box == "txtNenner" ? "txtZaehler" : "txtNenner");
    if (!before.isEmpty())
        retype(other, before);
    const QString head = entry.left(entry.size() - 1);
    retype(edit, head);

    const QString kgvBefore = f.text("txtkgV");
    const QImage screenBefore = f.control<PictureArea>("picBildschirm")->image().copy();
    if (entry.isEmpty())
        QTest::keyClick(edit, Qt::Key_Backspace);
    else
        QTest::keyClick(edit, entry.back().toLatin1());
    QCOMPARE(edit->text(), entry);
    QCOMPARE(f.text("txtkgV"), kgvBefore);
    QVERIFY(f.control<PictureArea>("picBildschirm")->image() == screenBefore);
    QCOMPARE(f.text("txtHilfe"), hint);

    // The next valid entry computes and redraws as usual.
    retype(other, "1");
    retype(edit, "3");
    QCOMPARE(f.text("txtkgV"), " 3");
    QVERIFY(f.control<PictureArea>("picBildschirm")->image() != screenBefore);
    QCOMPARE(f.text("txtHilfe"), "Hilfe");
    QVERIFY(!f.ended);
}

void TestRatioWidgets::buttons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("kgv");
    QTest::addColumn<bool>("redrawn");

    // clang-format off
    QTest::newRow("numerator + once") << "cmdplusZaehler" << 1 << " 2" << "1" << " 2" << true;
    QTest::newRow("denominator + twice") << "cmdplusNenner" << 2 << "1" << " 3" << " 3" << true;
    QTest::newRow("numerator - on 1") << "Command9" << 1 << "1" << "1" << "1" << false;
    QTest::newRow("denominator - on 1, three times") << "Command10" << 3 << "1" << "1" << "1"
                                                     << false;
    // clang-format on
}

void TestRatioWidgets::buttons()
{
    QFETCH(QString, button);
    QFETCH(int, clicks);
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(QString, kgv);
    QFETCH(bool, redrawn);
    WindowFixture f;
    QVERIFY(f.show());
    FormVariables& vars = f.window.form().variables();
    vars.t = -1;
    for (int i = 0; i < clicks; ++i)
        QTest::mouseClick(f.control(button.toUtf8().constData()), Qt::LeftButton);
    QCOMPARE(f.text("txtZaehler"), numerator);
    QCOMPARE(f.text("txtNenner"), denominator);
    QCOMPARE(f.text("txtkgV"), kgv);
    QCOMPARE(vars.t != -1, redrawn);
}

void TestRatioWidgets::entriesReadOtherwise_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("entry"); // typed after a 3 in the other box
    QTest::addColumn<QString>("kgv");
    QTest::addColumn<QString>("hint");
    // clang-format off
    QTest::newRow("denominator 2,5: 3 : 2 drawn") << "txtNenner" << "2,5" << " 6" << "„2,5“ wird als 2 gelesen; für 3 : 2,5 „6“ und „5“ eingeben.";
    QTest::newRow("numerator 2,5: counted as 2") << "txtZaehler" << "2,5" << " 6" << "„2,5“ wird als 2 gelesen; für 2,5 : 3 „5“ und „6“ eingeben.";
    QTest::newRow("numerator 2,0001: no small fraction") << "txtZaehler" << "2,0001" << " 6" << "„2,0001“ wird als 2 gelesen.";
    QTest::newRow("numerator 2.5: closed by the count of 2") << "txtZaehler" << "2.5" << " 6" << "„2.5“ im Zähler: gerechnet wird mit 2,5 (wie 5 : 6); die Figur ist geschlossen.";
    QTest::newRow("numerator 1.5: 1.5 : 3 as 1 : 2") << "txtZaehler" << "1.5" << " 6" << "„1.5“ im Zähler: gerechnet wird mit 1,5 (wie 1 : 2); die Figur ist geschlossen.";
    QTest::newRow("numerator 2.3: an open figure") << "txtZaehler" << "2.3" << " 6" << "„2.3“ im Zähler: gerechnet wird mit 2,3, das kgV mit 2: die Figur bleibt offen (23 : 30 schließt sie).";
    QTest::newRow("numerator 10001.05: open by a twentieth of a period") << "txtZaehler" << "10001.05" << " 30003" << "„10001.05“ im Zähler: gerechnet wird mit 10001,05, das kgV mit 10001: die Figur bleibt offen.";
    QTest::newRow("a long decimal, shortened") << "txtZaehler" << "3.14159265358979" << " 3" << "„3.1415926535…“ im Zähler: gerechnet wird mit ≈ 3,1415927, das kgV mit 3: die Figur bleibt offen.";
    QTest::newRow("numerator 1.0001: open, no small fraction") << "txtZaehler" << "1.0001" << " 3" << "„1.0001“ im Zähler: gerechnet wird mit 1,0001, das kgV mit 1: die Figur bleibt offen.";
    QTest::newRow("numerator 4abc: counted as 4") << "txtZaehler" << "4abc" << " 12" << "„4abc“ wird als 4 gelesen.";
    QTest::newRow("numerator 2,0: read as meant, no word") << "txtZaehler" << "2,0" << " 6" << "Hilfe";
    // clang-format on
}

// Typed key by key: the figure is drawn with what the box reads, and the hint line says so
// until the entry is a whole number again.
void TestRatioWidgets::entriesReadOtherwise()
{
    QFETCH(QString, box);
    QFETCH(QString, entry);
    QFETCH(QString, kgv);
    QFETCH(QString, hint);
    WindowFixture f;
    QVERIFY(f.show());
    const QByteArray name = box.toUtf8();
    retype(f.control<QLineEdit>(box == "txtNenner" ? "txtZaehler" : "txtNenner"), "3");
    retype(f.control<QLineEdit>(name.constData()), entry);
    QCOMPARE(f.text("txtkgV"), kgv);
    QCOMPARE(f.text("txtHilfe"), hint);
    QCOMPARE(f.control<QLineEdit>(name.constData())->property("inUse").toBool(), true);
    // Back to the first digit, without passing a refused entry.
    for (int i = 1; i < entry.size(); ++i)
        QTest::keyClick(f.control(name.constData()), Qt::Key_Backspace);
    QCOMPARE(f.text("txtHilfe"), "Hilfe");
}

KORVELIAN_WIDGET_TEST(ratiowidgets, TestRatioWidgets)
#include "tst_ratiowidgets.moc"
