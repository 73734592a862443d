#include "raster/drawingthread.h"

#include "tests/testregistry.h"

#include <QTest>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace korvelian;

namespace {

using Pass = DrawingThread::Pass;

// What the jobs drew, in order: "1 preview", "3 exact", "1 stopped".
class Record
{
public:
    void add(std::uint64_t number, const char* what)
    {
        std::lock_guard lock(m_mutex);
        m_lines.push_back(std::to_string(number) + " " + what);
    }
    std::vector<std::string> lines()
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

// A gate the first job waits at until the test has made its newer requests.
class Gate
{
public:
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_changed.notify_all();
    }
    void pass()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_open; });
    }
    void arrive()
    {
        {
            std::lock_guard lock(m_mutex);
            m_arrived = true;
        }
        m_changed.notify_all();
    }
    void awaitArrival()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_arrived; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    bool m_arrived = false;
};

// A job of many blocks, each polling stop as the raster does.
DrawingThread::Job job(Record& record, Gate* gate = nullptr)
{
    return [&record, gate](std::uint64_t number, Pass pass, const DrawingThread::Stop& stop) {
        if (gate) {
            gate->arrive();
            gate->pass();
        }
        for (int block = 0; block < 1000; ++block) {
            if (stop()) {
                record.add(number, pass == Pass::Preview ? "preview stopped" : "stopped");
                return false;
            }
        }
        record.add(number, pass == Pass::Preview ? "preview" : "exact");
        return true;
    };
}

} // namespace

class TestDrawingThread : public QObject
{
    Q_OBJECT

private slots:
    void onlyTheNewestRequestIsDrawn_data();
    void onlyTheNewestRequestIsDrawn();
    void requestsWhileThePassBeforeIsDrawn_data();
    void requestsWhileThePassBeforeIsDrawn();
    void aStaleRequestNeverReachesTheScreenAfterANewerOne_data();
    void aStaleRequestNeverReachesTheScreenAfterANewerOne();
    void theEndStopsTheDrawingUnderWay();
};

void TestDrawingThread::onlyTheNewestRequestIsDrawn_data()
{
    QTest::addColumn<bool>("preview");
    QTest::addColumn<bool>("overtakenByNothing");
    QTest::addColumn<QStringList>("drawn");
    // Request 1 is under way when 2 and 3 come: 1 stops between blocks, 2 is never begun.
    QTest::newRow("exact pictures") << false << false << QStringList{"1 stopped", "3 exact"};
    // A preview is finished however stale, so that something shows while requests come.
    QTest::newRow("previews first")
        << true << false << QStringList{"1 preview", "3 preview", "3 exact"};
    // A picture drawn meanwhile by other means overtakes without a job of its own.
    QTest::newRow("overtaken by a picture drawn at once")
        << false << true << QStringList{"1 stopped"};
}

void TestDrawingThread::onlyTheNewestRequestIsDrawn()
{
    QFETCH(bool, preview);
    QFETCH(bool, overtakenByNothing);
    QFETCH(QStringList, drawn);
    Record record;
    Gate gate;
    DrawingThread thread;
    QCOMPARE(thread.request(job(record, &gate), preview), std::uint64_t(1));
    gate.awaitArrival();
    QCOMPARE(thread.request(job(record), preview), std::uint64_t(2));
    if (overtakenByNothing)
        thread.request(nullptr, false);
    else
        QCOMPARE(thread.request(job(record), preview), std::uint64_t(3));
    QVERIFY(thread.stale(1));
    QVERIFY(thread.stale(2));
    gate.open();
    thread.waitIdle();
    QStringList lines;
    for (const std::string& line : record.lines())
        lines << QString::fromStdString(line);
    QCOMPARE(lines, drawn);
}

void TestDrawingThread::requestsWhileThePassBeforeIsDrawn_data()
{
    QTest::addColumn<QString>("urgencies");
    QTest::addColumn<QStringList>("drawn");
    // Each request ("i" input, "s" steady) is made while the one before is drawn.
    QTest::newRow("input stops every pass but the last")
        << "iiii" << QStringList{"1 stopped", "2 stopped", "3 stopped", "4 exact"};
    // A drift whose steps come faster than a pass still shows each pass it began.
    QTest::newRow("steady steps never starve")
        << "ssss" << QStringList{"1 exact", "2 exact", "3 exact", "4 exact"};
    QTest::newRow("input stops a steady step, not the other way round")
        << "siss" << QStringList{"1 stopped", "2 exact", "3 exact", "4 exact"};
}

void TestDrawingThread::requestsWhileThePassBeforeIsDrawn()
{
    QFETCH(QString, urgencies);
    QFETCH(QStringList, drawn);
    Record record;
    std::vector<std::unique_ptr<Gate>> gates;
    DrawingThread thread;
    for (const QChar urgency : urgencies) {
        gates.push_back(std::make_unique<Gate>());
        thread.request(job(record, gates.back().get()), false,
                       urgency == 'i' ? DrawingThread::Urgency::Input
                                      : DrawingThread::Urgency::Steady);
        if (gates.size() > 1)
            gates[gates.size() - 2]->open();
        gates.back()->awaitArrival();
    }
    gates.back()->open();
    thread.waitIdle();
    QStringList lines;
    for (const std::string& line : record.lines())
        lines << QString::fromStdString(line);
    QCOMPARE(lines, drawn);
}

void TestDrawingThread::aStaleRequestNeverReachesTheScreenAfterANewerOne_data()
{
    QTest::addColumn<QStringList>("offers");
    QTest::addColumn<QString>("shown");
    // Each offer: request number and pass, "+" if it is to be shown, "-" if not.
    QTest::newRow("a preview, then its exact picture") << QStringList{"1p+", "1e+"} << "1e";
    QTest::newRow("an older preview after a newer one") << QStringList{"2p+", "1p-"} << "2p";
    QTest::newRow("an older exact picture after a newer preview")
        << QStringList{"1p+", "2p+", "1e-"} << "2p";
    QTest::newRow("a preview after its own exact picture") << QStringList{"3e+", "3p-"} << "3e";
    QTest::newRow("the same exact picture twice") << QStringList{"3e+", "3e-"} << "3e";
    QTest::newRow("a newer preview over an exact picture") << QStringList{"1e+", "2p+"} << "2p";
    QTest::newRow("stale requests that finished, in order")
        << QStringList{"1p+", "2e+", "4p+", "3e-", "4e+"} << "4e";
}

void TestDrawingThread::aStaleRequestNeverReachesTheScreenAfterANewerOne()
{
    QFETCH(QStringList, offers);
    QFETCH(QString, shown);
    ShownPicture picture;
    for (const QString& offer : offers) {
        const std::uint64_t number = offer.left(offer.size() - 2).toULongLong();
        const Pass pass = offer[offer.size() - 2] == 'e' ? Pass::Exact : Pass::Preview;
        QCOMPARE(picture.offer(number, pass), offer.endsWith('+'));
    }
    QCOMPARE(QString::number(picture.number()) + (picture.exact() ? "e" : "p"), shown);
}

// The window closes while a preview is drawn: it stops at its next block, and nothing after
// it begins, neither its exact pass nor the request waiting behind it.
void TestDrawingThread::theEndStopsTheDrawingUnderWay()
{
    Record record;
    Gate gate;
    {
        DrawingThread thread;
        thread.request(
            [&](std::uint64_t number, Pass, const DrawingThread::Stop& stop) {
                gate.arrive();
                while (!stop())
                    std::this_thread::yield();
                record.add(number, "preview stopped");
                return false;
            },
            true);
        gate.awaitArrival();
        thread.request(job(record), false);
    }
    QCOMPARE(record.lines(), std::vector<std::string>{"1 preview stopped"});
}

KORVELIAN_PLAIN_TEST(drawingthread, TestDrawingThread)
#include "tst_drawingthread.moc"
