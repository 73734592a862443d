#include "picture/scenepainter.h"
#include "scene/overviewplate.h"
#include "tests/testregistry.h"

#include <QRegularExpression>
#include <QTest>
#include <QTextDocumentFragment>

#include <algorithm>
#include <set>

using namespace korvelian;

Q_DECLARE_METATYPE(korvelian::OverviewPlate::Form)
Q_DECLARE_METATYPE(korvelian::SizeF)

namespace {

using Sheet = OverviewPlate::Sheet;

// The printable part of an A4 page in portrait and in landscape, a thousand units across.
constexpr SizeF kPortrait{1000, 1000 * 267.0 / 180.0};
constexpr SizeF kLandscape{1000, 1000 * 180.0 / 267.0};

QString plain(const std::string& html)
{
    return QTextDocumentFragment::fromHtml(QString::fromStdString(html))
        .toPlainText()
        .replace(QChar(0xa0), ' ')
        .replace('\n', " / ");
}

OverviewPlate plate(OverviewPlate::Form form)
{
    return OverviewPlate(form, {}, false, Parameter{1, 0, 1, 0, 3, 2}, true);
}

bool overlaps(const RectF& a, const RectF& b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

} // namespace

class TestWorksheets : public QObject
{
    Q_OBJECT

private slots:
    void cells_data();
    void cells();
    void oneOrderForTheSheetsOfASeed();
};

void TestWorksheets::cells_data()
{
    QTest::addColumn<OverviewPlate::Form>("form");
    QTest::addColumn<SizeF>("page");

    QTest::newRow("ratios, portrait") << OverviewPlate::Form::Ratios << kPortrait;
    QTest::newRow("ratios, landscape") << OverviewPlate::Form::Ratios << kLandscape;
    QTest::newRow("phases, portrait") << OverviewPlate::Form::Phases << kPortrait;
    QTest::newRow("phases, landscape") << OverviewPlate::Form::Phases << kLandscape;
}

// Every cell once, each with what the sheet asks: a blank cell to draw in under its label, a
// figure above blanks, a figure above its own label; all on the page, none over another or
// over the texts above them; and the page filled: the rows reach down it, the cells as large
// as their number allows.
void TestWorksheets::cells()
{
    QFETCH(OverviewPlate::Form, form);
    QFETCH(SizeF, page);
    const OverviewPlate p = plate(form);
    TextMetrics& metrics = qtTextMetrics();
    for (const Sheet sheet : {Sheet::Blank, Sheet::Naming, Sheet::Solutions}) {
        const auto layout = p.sheetLayout(metrics, page, sheet, 7);
        const QString which = QString("sheet %1").arg(int(sheet));
        QCOMPARE(layout.places.size(), p.cells().size());
        QCOMPARE(layout.header.empty(), sheet == Sheet::Solutions);
        std::set<std::size_t> cells;
        double right = 0;
        double bottom = 0;
        const double textBottom =
            layout.titleAt.y +
            metrics.richTextSize(layout.title.back(), layout.font, page.width).height;
        for (std::size_t i = 0; i < layout.places.size(); ++i) {
            const auto& place = layout.places[i];
            cells.insert(place.cell);
            const QString label = plain(place.label);
            const QString own = plain(p.cells()[place.cell].label);
            QVERIFY2(label.startsWith(QString("%1)  ").arg(i + 1)), qPrintable(label));
            QCOMPARE(place.figure, sheet != Sheet::Blank);
            if (sheet == Sheet::Naming) {
                // Nothing of the answer: only the number has digits.
                QVERIFY2(!label.mid(3).contains(QRegularExpression("\\d")), qPrintable(label));
                QVERIFY(label.contains("____ : ____"));
            } else {
                QVERIFY2(label.endsWith(own), qPrintable(which + ": " + label));
            }
            QVERIFY(place.rect.x >= 0 && place.rect.x + place.rect.width <= page.width + 0.5);
            QVERIFY(place.rect.y >= textBottom);
            const SizeF labelSize =
                metrics.richTextSize(place.label, layout.font, layout.labelWidth);
            QVERIFY(place.labelAt.y + labelSize.height <= page.height + 0.5);
            for (std::size_t k = 0; k < i; ++k)
                QVERIFY(!overlaps(place.rect, layout.places[k].rect));
            right = std::max(right, place.rect.x + place.rect.width);
            bottom = std::max(bottom, place.labelAt.y + labelSize.height);
        }
        QCOMPARE(cells.size(), p.cells().size());
        const double left =
            std::min_element(layout.places.begin(), layout.places.end(),
                             [](const auto& a, const auto& b) { return a.rect.x < b.rect.x; })
                ->rect.x;
        // Today's plate takes a third of a landscape page for five cells.
        QVERIFY2((right - left) / page.width > 0.7 && bottom / page.height > 0.9,
                 qPrintable(which + QString(": %1 across, %2 down")
                                        .arg((right - left) / page.width)
                                        .arg(bottom / page.height)));
        const double side = layout.places.front().rect.width;
        QVERIFY(side >= (p.cells().size() == 5 ? 0.3 : 0.2) * std::min(page.width, page.height));
    }
}

// The three sheets of a seed share one order, which is not the plate's; another seed gives
// another.
void TestWorksheets::oneOrderForTheSheetsOfASeed()
{
    const OverviewPlate p = plate(OverviewPlate::Form::Ratios);
    const auto order = [&](Sheet sheet, std::uint32_t seed) {
        std::vector<std::size_t> cells;
        for (const auto& place : p.sheetLayout(qtTextMetrics(), kPortrait, sheet, seed).places)
            cells.push_back(place.cell);
        return cells;
    };
    const std::vector<std::size_t> blank = order(Sheet::Blank, 7);
    QCOMPARE(order(Sheet::Naming, 7), blank);
    QCOMPARE(order(Sheet::Solutions, 7), blank);
    QVERIFY(order(Sheet::Solutions, 8) != blank);
    QVERIFY(!std::is_sorted(blank.begin(), blank.end()));
    const std::vector<std::size_t> plateOrder = order(Sheet::Plate, 7);
    QVERIFY(std::is_sorted(plateOrder.begin(), plateOrder.end()));
}

KORVELIAN_GUI_TEST(worksheets, TestWorksheets)
#include "tst_worksheets.moc"
