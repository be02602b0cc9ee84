// What the colour map keeps of its own beside the row contract: a grid that
// scrolls in a ring (checked against a plain model), refused input that
// changes nothing, the colour range and the picture of its cells.
#include "fixtures.h"
#include "testmain.h"

#include <colormapseries_p.h>
#include <seriesicon_p.h>

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QThread>

#include <deque>

using namespace tavrintest;

namespace {

// The model: rows bottom to top, each a vector of columns, and the extent.
struct Model {
    std::deque<std::vector<double>> rows;
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    int columns() const { return rows.empty() ? 0 : int(rows.front().size()); }
};

void compare(ColorMapSeries &s, const Model &m)
{
    QCOMPARE(s.rows(), int(m.rows.size()));
    QCOMPARE(s.columns(), m.columns());
    QCOMPARE(s.pointsCount(), s.rows() * s.columns());
    for (int r = 0; r < s.rows(); ++r)
        for (int c = 0; c < s.columns(); ++c)
            QCOMPARE(s.cell(c, r), m.rows[size_t(r)][size_t(c)]);
    QVERIFY(qAbs(s.minX() - m.x0) < 1e-9 && qAbs(s.maxX() - m.x1) < 1e-9);
    QVERIFY(qAbs(s.minY() - m.y0) < 1e-9 && qAbs(s.maxY() - m.y1) < 1e-9);
    double lo = NaN, hi = NaN;
    for (const auto &row : m.rows)
        for (double v : row)
            if (std::isfinite(v)) {
                lo = std::isnan(lo) ? v : qMin(lo, v);
                hi = std::isnan(hi) ? v : qMax(hi, v);
            }
    QCOMPARE(s.dataRangeMin(), lo);
    QCOMPARE(s.dataRangeMax(), hi);
}

// A 3 x 2 map over [0, 3] x [10, 12]: row 0 is 1 2 3, row 1 is 4 5 6.
ColorMapSeries *small()
{
    auto *s = new ColorMapSeries;
    s->setData({1, 2, 3, 4, 5, 6}, 3, 2, 0, 3, 10, 12);
    return s;
}

} // namespace

class TestColorMap : public QObject
{
    Q_OBJECT
private slots:
    void refused_data();
    void refused();
    void scrollsLikeTheModel();
    void colours_data();
    void colours();
    void cellsOnThePlot_data();
    void cellsOnThePlot();
    void panRedrawsOnlyWhatMoved();
    void workerQueuesRows();
};

void TestColorMap::refused_data()
{
    QTest::addColumn<int>("call");
    QTest::addColumn<QString>("warning");
    const char *const names[] = {"count", "zero columns", "negative rows", "beyond memory", "NaN extent",
                                 "infinite extent", "empty extent", "reversed extent", "huge extent",
                                 "cell left", "cell above", "short row", "long column", "empty row",
                                 "range reversed", "range NaN", "log range at zero", "empty gradient"};
    const char *const warnings[] = {"do not fill", "is not a grid", "is not a grid", "exceeds", "not finite",
                                    "not finite", "not finite", "not finite", "not finite", "outside",
                                    "outside", "a row of 2", "a column of 3", "a row of 0", "no colour range",
                                    "no colour range", "for logarithmic", "no stops"};
    for (int i = 0; i < int(sizeof(names) / sizeof(*names)); ++i)
        QTest::newRow(names[i]) << i << QString::fromLatin1(warnings[i]);
}

// Each refusal warns and leaves grid, extent, colours and signals alone.
void TestColorMap::refused()
{
    QFETCH(int, call);
    QFETCH(QString, warning);
    std::unique_ptr<ColorMapSeries> s(small());
    s->setLogarithmicColors(call == 16);
    const QImage before = s->icon(8).pixmap(8, 8).toImage();
    QSignalSpy colours(s.get(), &ColorMapSeries::colorsChanged), added(s.get(), &ChartSeries::pointsAdded);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
    const QVector<double> six{1, 2, 3, 4, 5, 6};
    bool ok = true;
    switch (call) {
    case 0: ok = s->setData({1, 2, 3}, 2, 2, 0, 1, 0, 1); break;
    case 1: ok = s->setData({}, 0, 2, 0, 1, 0, 1); break;
    case 2: ok = s->setData(six, 6, -1, 0, 1, 0, 1); break;
    case 3: ok = s->setData(six, 100000, 100000, 0, 1, 0, 1); break;
    case 4: ok = s->setData(six, 3, 2, NaN, 1, 0, 1); break;
    case 5: ok = s->setData(six, 3, 2, 0, 1, 0, qInf()); break;
    case 6: ok = s->setData(six, 3, 2, 1, 1, 0, 1); break;
    case 7: ok = s->setData(six, 3, 2, 0, 1, 1, 0); break;
    case 8: ok = s->setData(six, 3, 2, -1e308, 1e308, 0, 1); break;
    case 9: ok = s->setCell(-1, 0, 9); break;
    case 10: ok = s->setCell(0, 2, 9); break;
    case 11: ok = s->addRow({1, 2}); break;
    case 12: ok = s->addColumn({1, 2, 3}); break;
    case 13: ok = s->addRow({}); break;
    case 14: ok = s->setDataRange(2, 1); break;
    case 15: ok = s->setDataRange(NaN, 1); break;
    case 16: ok = s->setDataRange(0, 1); break;
    case 17: s->setGradient({}); ok = false; break;
    }
    QVERIFY(!ok);
    Model m;
    m.rows = {{1, 2, 3}, {4, 5, 6}};
    m.x0 = 0, m.x1 = 3, m.y0 = 10, m.y1 = 12;
    compare(*s, m);
    QVERIFY(s->isDataRangeAutomatic());
    QCOMPARE(s->icon(8).pixmap(8, 8).toImage(), before);
    QCOMPARE(colours.size() + added.size(), 0);
}

// Random rows, columns, limits and cells against the plain model: the ring
// keeps every cell, the extent and the automatic range, and the signals
// account for every row of cells.
void TestColorMap::scrollsLikeTheModel()
{
    QRandomGenerator rng(26);
    Frame f(-5, 10, 0, 40);
    for (int round = 0; round < 20; ++round) {
        ColorMapSeries s;
        Model m;
        int held = 0;
        connect(&s, &ChartSeries::pointsAdded, this, [&](int first, int count) {
            QCOMPARE(first, held);
            held += count;
        });
        connect(&s, &ChartSeries::pointsRemoved, this, [&](int count) { held -= count; });
        const int c0 = 1 + rng.bounded(5), r0 = 1 + rng.bounded(4);
        QVector<double> init;
        m.rows.clear();
        for (int r = 0; r < r0; ++r) {
            m.rows.emplace_back();
            for (int c = 0; c < c0; ++c) {
                init << rng.bounded(100);
                m.rows.back().push_back(init.last());
            }
        }
        QVERIFY(s.setData(init, c0, r0, -1, -1 + c0 * 0.5, 3, 3 + r0 * 2));
        m.x0 = -1, m.x1 = -1 + c0 * 0.5, m.y0 = 3, m.y1 = 3 + r0 * 2;
        held = s.pointsCount();
        for (int step = 0; step < 60; ++step) {
            const int op = rng.bounded(6);
            const double w = (m.x1 - m.x0) / m.columns(), h = (m.y1 - m.y0) / m.rows.size();
            // A value, sometimes one that the range leaves out.
            auto value = [&] { const int k = rng.bounded(20); return k == 0 ? NaN : k == 1 ? qInf() : double(rng.bounded(1000)) - 500; };
            if (op <= 1) {
                QVector<double> row;
                std::vector<double> mrow;
                for (int c = 0; c < m.columns(); ++c) {
                    row << value();
                    mrow.push_back(row.last());
                }
                QVERIFY(s.addRow(row));
                m.rows.push_back(mrow);
                m.y1 += h;
                if (s.maximumRows() > 0 && int(m.rows.size()) > s.maximumRows()) {
                    m.rows.pop_front();
                    m.y0 += h;
                }
            } else if (op == 2) {
                QVector<double> col;
                for (auto &row : m.rows) {
                    col << value();
                    row.push_back(col.last());
                }
                QVERIFY(s.addColumn(col));
                m.x1 += w;
                if (s.maximumColumns() > 0 && m.columns() > s.maximumColumns()) {
                    for (auto &row : m.rows)
                        row.erase(row.begin());
                    m.x0 += w;
                }
            } else if (op == 3) {
                const int limit = rng.bounded(8);
                s.setMaximumRows(limit);
                while (limit > 0 && int(m.rows.size()) > limit) {
                    m.rows.pop_front();
                    m.y0 += h;
                }
            } else if (op == 4) {
                const int limit = rng.bounded(8);
                s.setMaximumColumns(limit);
                while (limit > 0 && m.columns() > limit) {
                    for (auto &row : m.rows)
                        row.erase(row.begin());
                    m.x0 += w;
                }
                held = s.pointsCount(); // columns dropped are not rows of cells
            } else {
                const int c = rng.bounded(m.columns()), r = rng.bounded(int(m.rows.size()));
                const double v = value();
                QVERIFY(s.setCell(c, r, v));
                m.rows[size_t(r)][size_t(c)] = v;
            }
            if (op == 2)
                held = s.pointsCount();
            compare(s, m);
            QCOMPARE(held, s.pointsCount());
            // What is drawn is what a fresh map of the same cells draws: the
            // ring's seams and the colours kept from earlier pictures do
            // not show.
            ColorMapSeries fresh;
            QVector<double> flat;
            for (const auto &row : m.rows)
                flat += QVector<double>(row.begin(), row.end());
            QVERIFY(fresh.setData(flat, m.columns(), int(m.rows.size()), s.minX(), s.maxX(), s.minY(), s.maxY()));
            s.setAxis(&f.x, &f.y);
            fresh.setAxis(&f.x, &f.y);
            QCOMPARE(render(s), render(fresh));
            if (QTest::currentTestFailed())
                return;
        }
    }
}

void TestColorMap::colours_data()
{
    QTest::addColumn<int>("preset");
    QTest::addColumn<bool>("log");
    QTest::addColumn<QVector<double>>("values"); // 2 x 2
    QTest::addColumn<QVector<double>>("range");  // fixed, or empty
    QTest::addColumn<QVector<double>>("probe");
    QTest::addColumn<QVector<QRgb>>("colours"); // 0: not drawn
    const double inf = qInf();
    QTest::newRow("viridis ends, NaN and infinities ignored") << int(ColorMapSeries::Viridis) << false
        << QVector<double>{2, NaN, inf, 6} << QVector<double>{} << QVector<double>{2, 6, 1, 7, NaN, -inf, inf}
        << QVector<QRgb>{0xff440154, 0xfffde725, 0xff440154, 0xfffde725, 0, 0xff440154, 0xfffde725};
    QTest::newRow("grey middle") << int(ColorMapSeries::Grey) << false << QVector<double>{0, 1, 2, 4}
        << QVector<double>{} << QVector<double>{2} << QVector<QRgb>{0xff808080};
    QTest::newRow("fixed range clamps") << int(ColorMapSeries::Magma) << false << QVector<double>{0, 1, 2, 4}
        << QVector<double>{1, 2} << QVector<double>{0, 1, 2, 4} << QVector<QRgb>{0xff000004, 0xff000004, 0xfffcfdbf, 0xfffcfdbf};
    QTest::newRow("log leaves out zero and below") << int(ColorMapSeries::Grey) << true
        << QVector<double>{-1, 0, 1, 100} << QVector<double>{} << QVector<double>{1, 10, 100, 0, -5}
        << QVector<QRgb>{0xff000000, 0xff808080, 0xffffffff, 0, 0};
    QTest::newRow("diverging centre") << int(ColorMapSeries::BlueWhiteRed) << false << QVector<double>{-3, 3, 0, 0}
        << QVector<double>{} << QVector<double>{-3, 0, 3} << QVector<QRgb>{0xff3b4cc0, 0xffffffff, 0xffb40426};
}

void TestColorMap::colours()
{
    QFETCH(int, preset);
    QFETCH(bool, log);
    QFETCH(QVector<double>, values);
    QFETCH(QVector<double>, range);
    QFETCH(QVector<double>, probe);
    QFETCH(QVector<QRgb>, colours);
    ColorMapSeries s;
    QSignalSpy changed(&s, &ColorMapSeries::colorsChanged);
    s.setPreset(ColorMapSeries::Preset(preset));
    s.setPreset(ColorMapSeries::Preset(preset));
    s.setLogarithmicColors(log);
    QCOMPARE(changed.size(), (preset != ColorMapSeries::Viridis) + int(log));
    QVERIFY(s.setData(values, 2, 2, 0, 1, 0, 1));
    if (!range.isEmpty())
        QVERIFY(s.setDataRange(range[0], range[1]));
    for (int i = 0; i < probe.size(); ++i) {
        const QColor c = s.colorAt(probe[i]);
        const QRgb got = c.isValid() ? c.rgba() : 0;
        // The tables are interpolated; a level either way is the same colour.
        QVERIFY2(qAbs(qRed(got) - qRed(colours[i])) <= 1 && qAbs(qGreen(got) - qGreen(colours[i])) <= 1
                     && qAbs(qBlue(got) - qBlue(colours[i])) <= 1 && qAlpha(got) == qAlpha(colours[i]),
                 qPrintable(QStringLiteral("%1: %2").arg(probe[i]).arg(got, 8, 16)));
    }
    // The legend icon shows the gradient, bottom to top, on screen and in
    // vector outputs alike.
    const QImage icon = s.icon(16).pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage vector(16, 16, QImage::Format_ARGB32_Premultiplied);
    vector.fill(Qt::transparent);
    QPainter painter(&vector);
    QVERIFY(tavrin::paintSeriesIcon(&s, &painter, 16));
    painter.end();
    QCOMPARE(vector, icon);
    const QGradientStops stops = s.gradient();
    QVERIFY(qAbs(qGray(icon.pixel(8, 15)) - qGray(stops.first().second.rgb())) <= 16);
    QVERIFY(qAbs(qGray(icon.pixel(8, 0)) - qGray(stops.last().second.rgb())) <= 16);
}

void TestColorMap::cellsOnThePlot_data()
{
    QTest::addColumn<bool>("smooth");
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("nearest") << false << qreal(1);
    QTest::newRow("nearest at ratio 2") << false << qreal(2);
    QTest::newRow("smooth") << true << qreal(1);
}

// Over a 0..10 frame (26 px per unit across, 16 up): each cell centre has
// the cell's colour, a NaN cell and everything beyond the extent stay
// clear; smoothing blends between neighbouring centres.
void TestColorMap::cellsOnThePlot()
{
    QFETCH(bool, smooth);
    QFETCH(qreal, ratio);
    Frame f;
    ColorMapSeries s;
    s.setPreset(ColorMapSeries::Grey);
    QVERIFY(s.setData({0, 10, NaN, 5, 10, 0}, 3, 2, 2, 8, 2, 6));
    s.setSmoothing(smooth);
    QCOMPARE(s.tooltip(f.pixel(4, 3)), QString()); // no axes yet
    s.setAxis(&f.x, &f.y);
    QImage img(QSize(301, 201) * ratio, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(ratio);
    img.fill(Qt::transparent);
    QPainter p(&img);
    s.draw(&p);
    p.end();
    auto at = [&](double x, double y) { return img.pixel(f.pixel(x, y) * ratio); };
    // A smoothed pixel centre lies a little off the cell's centre.
    const int slack = smooth ? 4 : 0;
    QVERIFY(qGray(at(3, 3)) <= slack);
    QVERIFY(qGray(at(5, 3)) >= 255 - slack);
    QCOMPARE(qAlpha(at(7, 3)), 0);
    QVERIFY(qAbs(qGray(at(3, 5)) - 128) <= slack);
    QCOMPARE(qAlpha(at(1.5, 3)) + qAlpha(at(5, 6.5)) + qAlpha(at(8.5, 5)), 0);
    const int between = qGray(at(4, 3));
    QVERIFY2(smooth ? between > 100 && between < 155 : between == 0 || between == 255, qPrintable(QString::number(between)));
    QCOMPARE(inked(img), QRect(f.pixel(2, 6) * ratio, f.pixel(8, 2) * ratio - QPoint(1, 1)));
    QCOMPARE(s.tooltip(f.pixel(5, 5)), QStringLiteral("X: 5\r\nY: 5\r\nZ: 10"));
    QCOMPARE(s.tooltip(f.pixel(7, 3)), QString()); // NaN
    QCOMPARE(s.tooltip(f.pixel(9, 3)), QString()); // beyond
    QCOMPARE(s.valueAt(f.pixel(7, 5)), 0.0);
    QVERIFY(std::isnan(s.valueAt(5.0))); // no one value per x
}

// A pan reuses the last picture's columns; whatever the step, the picture is
// the one a map drawing afresh gives, also where the extent leaves the plot.
void TestColorMap::panRedrawsOnlyWhatMoved()
{
    Frame f;
    QVector<double> v;
    QRandomGenerator rng(7);
    for (int i = 0; i < 37 * 23; ++i)
        v << (i % 41 == 0 ? NaN : rng.bounded(100.0));
    ColorMapSeries s;
    s.setData(v, 37, 23, 1, 9, 1, 9);
    s.setAxis(&f.x, &f.y);
    render(s);
    // The last steps zoom a little and a lot: no column may be taken over
    // that shows another cell now.
    for (double px : {10.0, -10.0, 3.0, 0.3, -7.5, 60.0, 250.0, -400.0, 1.0, 1.01, 1.5}) {
        const double span = f.x.d->rawMax - f.x.d->rawMin;
        if (px > 1 && px < 2)
            f.x.setRange(f.x.d->rawMin, f.x.d->rawMin + span * px);
        else
            f.x.shift(f.x.pixelDeltaToPoint(px));
        f.x.d->updateTransform();
        ColorMapSeries fresh;
        fresh.setData(v, 37, 23, 1, 9, 1, 9);
        fresh.setAxis(&f.x, &f.y);
        QCOMPARE(render(s), render(fresh));
    }
}

// A worker queues rows by value; they arrive in order on the GUI thread.
void TestColorMap::workerQueuesRows()
{
    ColorMapSeries s;
    QThread *worker = QThread::create([&s] {
        for (int i = 0; i < 200; ++i)
            QMetaObject::invokeMethod(&s, "addRow", Qt::QueuedConnection, Q_ARG(QVector<double>, QVector<double>(4, i)));
    });
    s.setMaximumRows(50);
    worker->start();
    QVERIFY(worker->wait(10000));
    delete worker;
    QTRY_COMPARE(s.cell(3, 49), 199.0);
    QCOMPARE(s.cell(0, 0), 150.0);
    QCOMPARE(s.minY(), 150.0);
}

TAVRIN_TEST(TestColorMap)
#include "tst_colormap.moc"
