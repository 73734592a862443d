#include "pictureexporter.h"
#include "picturearea.h"
#include "viewactions.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QDir>
#include <QCheckBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTimer>
#include <QSvgRenderer>
#include <QTemporaryDir>

using namespace korvelian;

namespace {

// The start-up figure is the diagonal from (-1, -1) to (1, 1): a quarter of the way in on
// both axes.
bool litAtQuarter(const QImage& image, QRgb colour)
{
    const int q = image.width() / 4;
    for (int d = -2; d <= 2; ++d) {
        if ((image.pixel(q + d, q) & 0xffffff) == (colour & 0xffffff))
            return true;
    }
    return false;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestPictureExporter : public QObject
{
    Q_OBJECT

private slots:
    void copy();
    void save_data();
    void save();
    void print();
    void printDialogDefaultsToWorksheetColours_data();
    void printDialogDefaultsToWorksheetColours();
    void failedSave_data();
    void failedSave();
};

void TestPictureExporter::copy()
{
    WindowFixture f;
    f.window.viewActions().copyPicture();
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(441, 441));
    QVERIFY(litAtQuarter(copied, qRgb(255, 255, 255)));
}

void TestPictureExporter::save_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("worksheet");
    QTest::addColumn<QString>("nenner");
    QTest::addColumn<QByteArray>("figure"); // what the SVG file holds the figure as
    // clang-format off
    QTest::newRow("PNG") << "korvelian.png" << false << "1" << QByteArray();
    QTest::newRow("PNG, worksheet colours") << "korvelian.png" << true << "1" << QByteArray();
    QTest::newRow("SVG: one path") << "korvelian.svg" << false << "1" << QByteArray("<path");
    QTest::newRow("SVG above 200,000 points: an embedded PNG") << "korvelian.svg" << true << "32767" << QByteArray("data:image/png;base64,");
    // clang-format on
}

void TestPictureExporter::save()
{
    QFETCH(QString, name);
    QFETCH(bool, worksheet);
    QFETCH(QString, nenner);
    QFETCH(QByteArray, figure);
    WindowFixture f;
    f.control<QLineEdit>("txtNenner")->setText(nenner);
    const auto& screen = *f.control<PictureArea>("picBildschirm");
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QString error;
    QVERIFY2(PictureExporter::save(screen, path, 600, &error, worksheet), qPrintable(error));

    QImage image;
    if (figure.isEmpty()) {
        QVERIFY(image.load(path, "PNG"));
    } else {
        QSvgRenderer svg(path);
        QVERIFY(svg.isValid());
        QCOMPARE(svg.viewBox(), QRect(0, 0, 600, 600));
        QVERIFY(contents(path).contains(figure));
        image = QImage(svg.viewBox().size(), QImage::Format_RGB32);
        QPainter painter(&image);
        svg.render(&painter);
    }
    QCOMPARE(image.size(), QSize(600, 600));
    QCOMPARE(QColor(image.pixel(2, 2)), worksheet ? QColor(Qt::white) : QColor(Qt::black));
    if (nenner == "1")
        QVERIFY(litAtQuarter(image, worksheet ? qRgb(0, 0, 0) : qRgb(255, 255, 255)));
}

void TestPictureExporter::print()
{
    WindowFixture f;
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("korvelian.pdf"));
    PictureExporter::print(*f.control<PictureArea>("picBildschirm"), printer, true);
    const QByteArray pdf = contents(dir.filePath("korvelian.pdf"));
    QVERIFY(pdf.startsWith("%PDF"));
    QVERIFY(pdf.size() > 1000);
}

void TestPictureExporter::printDialogDefaultsToWorksheetColours_data()
{
    QTest::addColumn<bool>("screenColours"); // ticked in the dialog
    QTest::addColumn<QColor>("ground");      // of the printed picture
    QTest::newRow("untouched: white, a worksheet") << false << QColor(Qt::white);
    QTest::newRow("screen colours asked for: black") << true << QColor(Qt::black);
}

// The page as printed through the dialog, made into pixels by Ghostscript.
void TestPictureExporter::printDialogDefaultsToWorksheetColours()
{
    QFETCH(bool, screenColours);
    QFETCH(QColor, ground);
    WindowFixture f;
    QTemporaryDir dir;
    const QString pdf = dir.filePath("seite.pdf");
    bool offeredUnticked = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        auto* option = dialog ? dialog->findChild<QCheckBox*>("screenColours") : nullptr;
        if (!option)
            return;
        offeredUnticked = !option->isChecked();
        option->setChecked(screenColours);
        dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
        dialog->printer()->setOutputFileName(pdf);
        dialog->done(QDialog::Accepted);
    });
    f.window.viewActions().printPicture();
    QVERIFY(offeredUnticked);
    const QString png = dir.filePath("seite.png");
    QProcess gs;
    gs.start("gs", {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m", "-r30",
                    "-sOutputFile=" + png, pdf});
    QVERIFY2(gs.waitForFinished(60000) && gs.exitCode() == 0, "Ghostscript (make deps)");
    const QImage page(png);
    QVERIFY(!page.isNull());
    // A fifth across and a tenth down the page lies inside the picture, off figure and axes.
    QCOMPARE(QColor(page.pixel(page.width() / 5, page.height() / 10)), ground);
}

void TestPictureExporter::failedSave_data()
{
    QTest::addColumn<QString>("path"); // in the temporary folder when relative
    QTest::addColumn<QString>("message");
    // Tests may run as root, to whom a read-only folder is writable: a folder that does not
    // exist and /proc refuse a new file to everyone.
    // clang-format off
    QTest::newRow("folder that does not exist") << "fehlt/korvelian.png" << "konnte nicht";
    QTest::newRow("SVG into a folder that does not exist") << "fehlt/korvelian.svg" << "konnte nicht";
    QTest::newRow("/proc") << "/proc/korvelian.png" << "konnte nicht";
    QTest::newRow("neither PNG nor SVG") << "korvelian.jpg" << ".png noch auf .svg";
    // clang-format on
}

void TestPictureExporter::failedSave()
{
    QFETCH(QString, path);
    QFETCH(QString, message);
    WindowFixture f;
    QTemporaryDir dir;
    const QString target = QDir(dir.path()).absoluteFilePath(path);
    QString error;
    QVERIFY(!PictureExporter::save(*f.control<PictureArea>("picBildschirm"), target, 441, &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!QFile::exists(target));
    QVERIFY(QDir(dir.path()).isEmpty());
}

KORVELIAN_WIDGET_TEST(pictureexporter, TestPictureExporter)

#include "tst_pictureexporter.moc"
