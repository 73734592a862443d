#include "app/application.h"
#include "widgets/pageprinter.h"
#include "picture/pictureexporter.h"
#include "widgets/picturearea.h"
#include "app/viewactions.h"
#include "app/viewoptions.h"
#include "app/windowzoom.h"
#include "tests/windowfixture.h"

#include <QClipboard>
#include <QDir>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

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

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A file-size limit of this process for as long as it exists, as a full disk or a quota
// gives: a write beyond it fails (its signal ignored, as the program ignores it).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_before);
        const rlimit limited{bytes, m_before.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_signal);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
};

// Answers the modal windows the save action opens: types the next name into the file dialog
// and accepts it (cancels once no name is left), notes the text of every message box and
// presses `answer` on it.
class DialogAnswers : public QObject
{
public:
    DialogAnswers(QStringList names, QMessageBox::StandardButton answer)
        : m_names(std::move(names)), m_answer(answer)
    {
        connect(&m_poll, &QTimer::timeout, this, &DialogAnswers::answerOne);
        m_poll.start(10);
    }

    QStringList messages;

private:
    void answerOne()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages << box->text();
            box->button(box->standardButtons().testFlag(m_answer) ? m_answer : QMessageBox::Ok)
                ->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal);
                   dialog && dialog->isVisible()) {
            if (m_names.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(m_names.takeFirst());
            // Queued: the dialog's own question runs a modal loop of its own, which this poll
            // answers too.
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        }
    }

    QStringList m_names;
    QMessageBox::StandardButton m_answer;
    QTimer m_poll;
};

} // namespace

class TestPictureExporter : public QObject
{
    Q_OBJECT

private slots:
    // The program's questions and reasons in the toolkit's German, as the program loads it.
    void initTestCase() { loadGermanTranslation(); }
    void copy();
    void save_data();
    void save();
    void savedPixelsAreThePictures_data();
    void savedPixelsAreThePictures();
    void print();
    void printDialogDefaultsToWorksheetColours_data();
    void printDialogDefaultsToWorksheetColours();
    void printOutputRefusedBeforeItIsOpened_data();
    void printOutputRefusedBeforeItIsOpened();
    void failedSave_data();
    void failedSave();
    void shortWrite_data();
    void shortWrite();
    void onlyRegularFiles_data();
    void onlyRegularFiles();
    void saveFromTheWindow_data();
    void saveFromTheWindow();
    void fileDialogColumnsFitTheZoom();
    void tooLongANameSaysWhy_data();
    void tooLongANameSaysWhy();
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
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QByteArray>("figure"); // what the SVG file holds the figure as
    // clang-format off
    QTest::newRow("PNG") << "korvelian.png" << false << "1" << QByteArray();
    QTest::newRow("PNG, worksheet colours") << "korvelian.png" << true << "1" << QByteArray();
    QTest::newRow("SVG: one path") << "korvelian.svg" << false << "1" << QByteArray("<path");
    QTest::newRow("SVG, worksheet colours: one path") << "korvelian.svg" << true << "1" << QByteArray("<path");
    QTest::newRow("SVG above 200,000 points: an embedded PNG") << "korvelian.svg" << true << "32767" << QByteArray("data:image/png;base64,");
    // clang-format on
}

void TestPictureExporter::save()
{
    QFETCH(QString, name);
    QFETCH(bool, worksheet);
    QFETCH(QString, denominator);
    QFETCH(QByteArray, figure);
    WindowFixture f;
    f.control<QLineEdit>("txtNenner")->setText(denominator);
    const auto& screen = *f.control<PictureArea>("picBildschirm");
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QString error;
    QVERIFY2(PictureExporter::save(screen.picture(), path, 600, &error, worksheet),
             qPrintable(error));

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
    if (denominator == "1")
        QVERIFY(litAtQuarter(image, worksheet ? qRgb(0, 0, 0) : qRgb(255, 255, 255)));
}

// A PNG file is written in as few bits per pixel as keep every colour: whatever it chose, it
// decodes to the picture drawn in full colour.
void TestPictureExporter::savedPixelsAreThePictures_data()
{
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<bool>("worksheet");
    QTest::addColumn<bool>("readings"); // the reading aid and the values: many colours of text
    QTest::addColumn<int>("width");
    QTest::newRow("start, screen colours") << "1" << false << false << 441;
    QTest::newRow("start, worksheet: greys") << "1" << true << false << 600;
    QTest::newRow("32767, worksheet, odd width") << "32767" << true << false << 777;
    QTest::newRow("readings, screen colours") << "2" << false << true << 600;
    QTest::newRow("readings, worksheet") << "2" << true << true << 1200;
}

void TestPictureExporter::savedPixelsAreThePictures()
{
    QFETCH(QString, denominator);
    QFETCH(bool, worksheet);
    QFETCH(bool, readings);
    QFETCH(int, width);
    WindowFixture f;
    f.control<QLineEdit>("txtNenner")->setText(denominator);
    f.window.viewOptions().setOption(ViewOption::ReadingAid, readings);
    f.window.viewOptions().setOption(ViewOption::Values, readings);
    const auto& screen = *f.control<PictureArea>("picBildschirm");
    QTemporaryDir dir;
    const QString path = dir.filePath("korvelian.png");
    QVERIFY(PictureExporter::save(screen.picture(), path, width, nullptr, worksheet));
    QImage saved;
    QVERIFY(saved.load(path, "PNG"));
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
             PictureExporter::image(screen.picture(), width, worksheet));
}

void TestPictureExporter::print()
{
    WindowFixture f;
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("korvelian.pdf"));
    PagePrinter::print(f.control<PictureArea>("picBildschirm")->picture(), printer, true);
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

enum class Output { NamedPipe, LinkToNull, LinkLoop, MissingFolder, NewFile };

void TestPictureExporter::printOutputRefusedBeforeItIsOpened_data()
{
    QTest::addColumn<Output>("output");
    QTest::addColumn<QString>("reason"); // %1 the folder; "": printed
    // clang-format off
    QTest::newRow("a new name: printed") << Output::NewFile << "";
    QTest::newRow("named pipe: the dialog's own check would hang") << Output::NamedPipe << "Der Name bezeichnet eine benannte Pipe, keine gewöhnliche Datei.";
    QTest::newRow("link to /dev/null") << Output::LinkToNull << "Der Name verweist auf „/dev/null“, ein Gerät, keine gewöhnliche Datei.";
    QTest::newRow("links in a circle") << Output::LinkLoop << "Der Name ist eine Verknüpfung, die nirgendwohin führt: ihre Verknüpfungen verweisen im Kreis aufeinander.";
    QTest::newRow("folder that does not exist") << Output::MissingFolder << "Den Ordner „%1/fehlt“ gibt es nicht.";
    // clang-format on
}

// "Drucken" with a file name the program does not write: its German reason, and the dialog
// stays open. The named pipe's row hangs where the dialog opens the name first, and its test
// then ends at the test runner's time limit.
void TestPictureExporter::printOutputRefusedBeforeItIsOpened()
{
    QFETCH(Output, output);
    QFETCH(QString, reason);
    WindowFixture f;
    QTemporaryDir dir;
    QString path = dir.filePath("seite.pdf");
    switch (output) {
    case Output::NamedPipe:
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case Output::LinkToNull:
        QVERIFY(QFile::link("/dev/null", path));
        break;
    case Output::LinkLoop:
        QVERIFY(QFile::link(dir.filePath("b.pdf"), path));
        QVERIFY(QFile::link(path, dir.filePath("b.pdf")));
        break;
    case Output::MissingFolder:
        path = dir.filePath("fehlt/seite.pdf");
        break;
    case Output::NewFile:
        break;
    }
    QStringList said;
    bool pressed = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            said << box->text();
            box->accept();
        } else if (auto* dialog = qobject_cast<QPrintDialog*>(modal); dialog && pressed) {
            dialog->reject();
        } else if (dialog) {
            auto* printers = dialog->findChild<QComboBox*>("printers");
            QVERIFY(printers);
            // The last entry prints into a file.
            printers->setCurrentIndex(printers->count() - 1);
            dialog->findChild<QLineEdit*>("filename")->setText(path);
            pressed = true;
            // Queued: the answer comes in a modal loop of its own, which this poll answers too.
            QMetaObject::invokeMethod(
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok), "click",
                Qt::QueuedConnection);
        }
    });
    poll.start(10);
    f.window.viewActions().printPicture();
    if (reason.isEmpty()) {
        QCOMPARE(said, QStringList());
        QVERIFY(contents(path).startsWith("%PDF"));
        return;
    }
    QCOMPARE(said,
             QStringList{QString("In die Datei „%1“ kann nicht gedruckt werden:\n%2")
                             .arg(path, reason.contains("%1") ? reason.arg(dir.path()) : reason)});
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
    QVERIFY(!PictureExporter::save(f.control<PictureArea>("picBildschirm")->picture(), target, 441,
                                   &error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QVERIFY(!QFile::exists(target));
    QVERIFY(QDir(dir.path()).isEmpty());
}

void TestPictureExporter::shortWrite_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("limit"); // bytes
    QTest::newRow("PNG, nothing written") << "png" << 0;
    QTest::newRow("PNG, cut after 1000 bytes") << "png" << 1000;
    QTest::newRow("SVG, cut after 100 bytes") << "svg" << 100;
    QTest::newRow("SVG, cut after 20 480 bytes") << "svg" << 20480;
    QTest::newRow("PDF, cut after 10 bytes") << "pdf" << 10;
    QTest::newRow("PDF, cut after 8192 bytes") << "pdf" << 8192;
}

// A disk, a quota or a file-size limit that ends the file half-way: the save fails with the
// system's reason, the old file stays byte for byte, nothing else is left in the folder.
void TestPictureExporter::shortWrite()
{
    QFETCH(QString, format);
    QFETCH(int, limit);
    WindowFixture f;
    f.control<QLineEdit>("txtZaehler")->setText("31");
    f.control<QLineEdit>("txtNenner")->setText("30");
    const auto& screen = *f.control<PictureArea>("picBildschirm");
    QTemporaryDir dir;
    const QString path = dir.filePath("blatt." + format);
    QVERIFY(writeFile(path, "das alte Blatt"));
    const auto save = [&](QString* error) {
        if (format != "pdf")
            return PictureExporter::save(screen.picture(), path, 600, error);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return PagePrinter::print(screen.picture(), printer, false, error);
    };
    QString error;
    bool saved = true;
    {
        const FileSizeLimit limited(static_cast<rlim_t>(limit));
        saved = save(&error);
    }
    QVERIFY(!saved);
    QCOMPARE(error, QString("Die Datei „%1“ konnte nicht gespeichert werden:\nDie Datei wäre "
                            "größer, als das System erlaubt.\nDie vorhandene Datei ist "
                            "unverändert.")
                        .arg(path));
    QCOMPARE(contents(path), QByteArray("das alte Blatt"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"blatt." + format});
    // Without the limit the same file is written, and longer than the limit was.
    QVERIFY2(save(&error), qPrintable(error));
    QVERIFY(QFileInfo(path).size() > limit);
}

enum class Target { NamedPipe, DeviceLink, Folder, UndecodableName, LinkToFile, LinkLoop };

constexpr char kDevice[] = "/dev/pts/ptmx";

void TestPictureExporter::onlyRegularFiles_data()
{
    QTest::addColumn<Target>("target");
    QTest::addColumn<QString>("refusal"); // empty: written
    // clang-format off
    QTest::newRow("named pipe") << Target::NamedPipe << "Der Name bezeichnet eine benannte Pipe, keine gewöhnliche Datei.";
    QTest::newRow("link to a device") << Target::DeviceLink << "Der Name verweist auf „/dev/pts/ptmx“, ein Gerät, keine gewöhnliche Datei.";
    QTest::newRow("folder") << Target::Folder << "Der Name bezeichnet einen Ordner, keine gewöhnliche Datei.";
    QTest::newRow("bytes not valid in the system's encoding") << Target::UndecodableName << "Der Name enthält Zeichen, die in der Zeichenkodierung des Systems ungültig sind; die Datei bekäme einen anderen Namen.";
    QTest::newRow("link to a regular file: its target written") << Target::LinkToFile << "";
    QTest::newRow("links in a circle") << Target::LinkLoop << "Der Name ist eine Verknüpfung, die nirgendwohin führt: ihre Verknüpfungen verweisen im Kreis aufeinander.";
    // clang-format on
}

void TestPictureExporter::onlyRegularFiles()
{
    QFETCH(Target, target);
    QFETCH(QString, refusal);
    WindowFixture f;
    QTemporaryDir dir;
    QString path = dir.filePath("bild.png");
    const QString linked = dir.filePath("ziel.png");
    switch (target) {
    case Target::NamedPipe:
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        break;
    case Target::DeviceLink:
        // A device in a folder where no file can be made, even by root: a fault here cannot
        // replace the device with a file.
        if (!QFileInfo::exists(kDevice))
            QSKIP("no /dev/pts");
        QVERIFY(QFile::link(kDevice, path));
        break;
    case Target::Folder:
        QVERIFY(QDir(dir.path()).mkdir("bild.png"));
        break;
    case Target::UndecodableName:
        // What the command line makes of the byte 0xff in a name.
        path = dir.filePath(QString("bild") + QChar::ReplacementCharacter + ".png");
        break;
    case Target::LinkToFile:
        QVERIFY(writeFile(linked, "alt"));
        QVERIFY(QFile::link(linked, path));
        break;
    case Target::LinkLoop:
        QVERIFY(QFile::link(linked, path));
        QVERIFY(QFile::link(path, linked));
        break;
    }
    QString error;
    const bool saved = PictureExporter::save(f.control<PictureArea>("picBildschirm")->picture(),
                                             path, 100, &error);
    if (refusal.isEmpty()) {
        QVERIFY2(saved, qPrintable(error));
        QCOMPARE(QFileInfo(path).symLinkTarget(), linked);
        QVERIFY(contents(linked).startsWith("\x89PNG"));
        return;
    }
    QVERIFY(!saved);
    QCOMPARE(error,
             QString("Die Datei „%1“ konnte nicht gespeichert werden:\n%2").arg(path, refusal));
    QVERIFY(target != Target::UndecodableName || QDir(dir.path()).isEmpty());
    QVERIFY(target != Target::LinkLoop || QFileInfo(path).isSymLink());
}

void TestPictureExporter::saveFromTheWindow_data()
{
    QTest::addColumn<QStringList>("typed"); // into the file dialog, one name each time
    QTest::addColumn<QString>("existing");  // a file of this name holds "alt" before
    QTest::addColumn<int>("answer");        // to every question
    QTest::addColumn<int>("limit");         // on the file's size; -1: none
    QTest::addColumn<QString>("message");   // the last one shown, %1 the folder
    QTest::addColumn<QString>("written");   // the file then holding a PNG; "" when none
    // clang-format off
    QTest::newRow("no ending typed, the PNG kept") << QStringList{"precious"} << "precious.png" << int(QMessageBox::No) << -1 << "Die Datei precious.png existiert bereits.\nSoll sie überschrieben werden?" << "";
    QTest::newRow("no ending typed, the PNG replaced") << QStringList{"precious"} << "precious.png" << int(QMessageBox::Yes) << -1 << "Die Datei precious.png existiert bereits.\nSoll sie überschrieben werden?" << "precious.png";
    QTest::newRow("another ending, asked about the name written") << QStringList{"notes.txt"} << "notes.txt.png" << int(QMessageBox::No) << -1 << "Die Datei notes.txt.png existiert bereits.\nSoll sie überschrieben werden?" << "";
    QTest::newRow("full disk: the whole path and the reason") << QStringList{"neu"} << "" << int(QMessageBox::Ok) << 10 << "Die Datei „%1/neu.png“ konnte nicht gespeichert werden:\nDie Datei wäre größer, als das System erlaubt." << "";
    // clang-format on
}

void TestPictureExporter::saveFromTheWindow()
{
    QFETCH(QStringList, typed);
    QFETCH(QString, existing);
    QFETCH(int, answer);
    QFETCH(int, limit);
    QFETCH(QString, message);
    QFETCH(QString, written);
    WindowFixture f;
    QTemporaryDir dir;
    if (!existing.isEmpty())
        QVERIFY(writeFile(dir.filePath(existing), "alt"));
    for (QString& name : typed)
        name = dir.filePath(name);
    DialogAnswers answers(typed, QMessageBox::StandardButton(answer));
    {
        std::optional<FileSizeLimit> limited;
        if (limit >= 0)
            limited.emplace(static_cast<rlim_t>(limit));
        f.window.viewActions().savePicture();
    }
    QVERIFY(!answers.messages.isEmpty());
    QCOMPARE(answers.messages.last(), message.contains("%1") ? message.arg(dir.path()) : message);
    if (!existing.isEmpty() && written != existing)
        QCOMPARE(contents(dir.filePath(existing)), QByteArray("alt"));
    if (!written.isEmpty())
        QVERIFY(contents(dir.filePath(written)).startsWith("\x89PNG"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), existing.isEmpty() ? 0 : 1);
}

// At 216 % the file dialog's columns are as wide as what they show, not the widths a dialog at
// 100 % left behind.
void TestPictureExporter::fileDialogColumnsFitTheZoom()
{
    WindowFixture f;
    f.window.zoom().setZoomPercent(216);
    QTemporaryDir dir;
    QVERIFY(writeFile(dir.filePath("bild.png"), QByteArray(123456, 'x')));
    bool fitted = false;
    int polls = 0;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        if (QDir(dialog->directory()) != QDir(dir.path())) {
            // The widths a dialog of an earlier run, at 100 %, left in the toolkit's settings.
            auto* columns = dialog->findChild<QTreeView*>("treeView");
            for (int column = 0; column < columns->header()->count(); ++column)
                columns->setColumnWidth(column, 40);
            dialog->setDirectory(dir.path());
            return;
        }
        const QAbstractItemView* details = dialog->findChild<QTreeView*>("treeView");
        fitted = details->model()->rowCount(details->rootIndex()) > 0;
        for (int column = 0; fitted && column < details->model()->columnCount(details->rootIndex());
             ++column)
            fitted = static_cast<const QTreeView*>(details)->columnWidth(column) >=
                     details->sizeHintForColumn(column);
        // The folder is read on a thread of its own: looked at until it fits, for a few seconds.
        if (fitted || ++polls > 500)
            dialog->reject();
    });
    poll.start(10);
    f.window.viewActions().savePicture();
    QVERIFY(fitted);
}

void TestPictureExporter::tooLongANameSaysWhy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("greyed"); // "Speichern", by the dialog itself
    QTest::addColumn<QString>("why"); // the tooltip of the field and of the button
    // clang-format off
    QTest::newRow("255 bytes, the most allowed") << QString(251, 'a') + ".png" << false << "";
    QTest::newRow("300 letters: greyed") << QString(300, 'a') << true << "Der Dateiname ist zu lang: erlaubt sind höchstens 255 Bytes, dieser hat 300.";
    QTest::newRow("150 umlauts, 300 bytes") << QString(150, u'ä') << false << "Der Dateiname ist zu lang: erlaubt sind höchstens 255 Bytes, dieser hat 300.";
    // clang-format on
}

void TestPictureExporter::tooLongANameSaysWhy()
{
    QFETCH(QString, name);
    QFETCH(bool, greyed);
    QFETCH(QString, why);
    WindowFixture f;
    QTemporaryDir dir;
    std::optional<bool> saveEnabled;
    QString fieldTip;
    QString buttonTip;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        dialog->setDirectory(dir.path());
        auto* field = dialog->findChild<QLineEdit*>("fileNameEdit");
        field->setText(name);
        QPushButton* save =
            dialog->findChild<QDialogButtonBox*>("buttonBox")->button(QDialogButtonBox::Save);
        saveEnabled = save->isEnabled();
        fieldTip = field->toolTip();
        buttonTip = save->toolTip();
        dialog->reject();
    });
    poll.start(10);
    f.window.viewActions().savePicture();
    QCOMPARE(saveEnabled, std::optional<bool>(!greyed));
    QCOMPARE(fieldTip, why);
    QCOMPARE(buttonTip, why);
}

KORVELIAN_WIDGET_TEST(pictureexporter, TestPictureExporter)

#include "tst_pictureexporter.moc"
