#include "mainwindow.h"

#include "annotationstab.h"
#include "barstab.h"
#include "areastab.h"
#include "colormaptabs.h"
#include "dashboardtab.h"
#include "demotabs.h"
#include "histogramtab.h"
#include "producer.h"

#include <axes.h>
#include <axis.h>
#include <chartseries.h>
#include <chartwidget.h>
#include <legend.h>
#include <lineseries.h>
#include <pieseries.h>
#include <vline.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSpinBox>
#include <QStatusBar>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>

MainWindow::MainWindow(bool galleryMode, QWidget *parent)
    : QMainWindow(parent), m_tabs(new QTabWidget(this))
{
    setWindowTitle(tr("Tavrin demo"));
    setCentralWidget(m_tabs);

    const demo::LiveChart live = demo::liveChart();
    m_live = live.chart;
    addTab(QStringLiteral("live"), tr("Live data"), live.chart);
    ChartWidget *scatter = demo::scatterChart();
    addTab(QStringLiteral("scatter"), tr("Scatter"), scatter);
    demo::makeTouchable(scatter, statusBar());
    addTab(QStringLiteral("minmax"), tr("Error bars"), demo::errorBarChart());
    auto *bars = new demo::BarsTab;
    addTab(QStringLiteral("bars"), tr("Bars"), bars->chart(), bars);
    addTab(QStringLiteral("boxwhiskers"), tr("Box and whiskers"), demo::boxChart());
    addTab(QStringLiteral("highlow"), tr("High-low band"), demo::highLowChart());
    addTab(QStringLiteral("areas"), tr("Areas and steps"), demo::areasChart());
    addTab(QStringLiteral("gantt"), tr("Gantt"), demo::ganttChart());
    addTab(QStringLiteral("million"), tr("1,000,000 points"), demo::millionChart());
    addTab(QStringLiteral("twoaxes"), tr("Two y axes"), demo::twoAxesChart());
    addTab(QStringLiteral("logscale"), tr("Logarithmic axes"), demo::logChart());
    addPartsTab(galleryMode);
    auto *annotations = new demo::AnnotationsTab;
    addTab(QStringLiteral("annotations"), tr("Annotations"), annotations->chart(), annotations);
    const demo::SpectrogramChart spectrogram = demo::spectrogramChart(galleryMode);
    m_spectrum = spectrogram.feeder;
    addTab(QStringLiteral("waterfall"), tr("Spectrogram"), spectrogram.chart);
    addTab(QStringLiteral("heatmap"), tr("Heat map"), demo::heatMapChart());
    auto *dashboard = new demo::DashboardTab(galleryMode);
    addTab(QStringLiteral("dashboard"), tr("Dashboard"), dashboard->chart(), dashboard, true);
    addTab(QStringLiteral("equalscales"), tr("Equal scales"), demo::equalScalesChart());
    addTab(QStringLiteral("histogram"), tr("Histogram"), demo::histogramChart());

    buildToolBar();
    connect(m_tabs, &QTabWidget::currentChanged, this, &MainWindow::currentTabChanged);
    currentTabChanged();
    statusBar()->showMessage(tr("Left drag: zoom. Drag up-left: back to automatic scale. "
                                "Middle drag: pan. Right click: export. With wheel zoom on, "
                                "Ctrl zooms x only, Shift y only."));

    // The gallery gets ten minutes of data at once; the window gets a
    // time-lapse from now on, one simulated second every 50 ms.
    const QDateTime start = galleryMode ? demo::galleryStart()
                                        : QDateTime::currentDateTime().addSecs(-30);
    m_producer = new Producer(live.a, live.b, start, galleryMode ? 600 : -1, galleryMode ? 0 : 50, this);
    connect(m_producer, &Producer::minuteStarted, this, &MainWindow::addMinuteLine);
    m_producer->start();
    m_spectrum->start();
}

MainWindow::~MainWindow()
{
    // The producer must be gone before the series it queues into.
    m_producer->stop();
    m_producer->wait();
    delete m_spectrum;
}

void MainWindow::addTab(const QString &key, const QString &label, ChartWidget *chart, QWidget *page,
                        bool wholePage)
{
    m_tabs->addTab(page ? page : chart, label);
    m_charts.append({key, chart, wholePage ? page : nullptr});
}

// The gauge reads a new load twice a second and changes its values in
// place; the gallery keeps its first reading.
void MainWindow::addPartsTab(bool galleryMode)
{
    const demo::PartsChart parts = demo::partsChart();
    addTab(QStringLiteral("parts"), tr("Parts of a whole"), parts.chart);
    if (galleryMode)
        return;
    auto *timer = new QTimer(this);
    const QPointer<PieSeries> gauge = parts.gauge;
    connect(timer, &QTimer::timeout, this, [gauge, step = 0]() mutable {
        if (gauge)
            gauge->setValues(demo::gaugeReading(++step));
    });
    timer->start(500);
}

void MainWindow::buildToolBar()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    // Qt 5 and Qt 6 order addAction's shortcut and slot arguments
    // differently; this spelling builds on both.
    const auto add = [this, file](const QString &text, QKeySequence::StandardKey key, auto slot) {
        QAction *action = file->addAction(text);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, slot);
    };
    add(tr("&Save chart settings..."), QKeySequence::Save, &MainWindow::saveSettings);
    add(tr("&Load chart settings..."), QKeySequence::Open, &MainWindow::loadSettings);
    file->addSeparator();
    add(tr("&Quit"), QKeySequence::Quit, &QWidget::close);

    QToolBar *bar = addToolBar(tr("Chart"));
    bar->setMovable(false);

    bar->addWidget(new QLabel(tr("Legend: ")));
    m_placement = new QComboBox;
    const std::pair<Legend::Placement, QString> placements[] = {
        {Legend::plRight, tr("Right")},
        {Legend::plRightInverted, tr("Right, inverted")},
        {Legend::plLeft, tr("Left")},
        {Legend::plLeftInverted, tr("Left, inverted")},
        {Legend::plTop, tr("Top")},
        {Legend::plTopInverted, tr("Top, inverted")},
        {Legend::plBottom, tr("Bottom")},
        {Legend::plBottomInverted, tr("Bottom, inverted")},
        {Legend::plInsetTopLeft, tr("Inset, top left")},
        {Legend::plInsetTopRight, tr("Inset, top right")},
        {Legend::plInsetBottomLeft, tr("Inset, bottom left")},
        {Legend::plInsetBottomRight, tr("Inset, bottom right")},
    };
    for (const auto &p : placements)
        m_placement->addItem(p.second, int(p.first));
    bar->addWidget(m_placement);
    m_legendShown = new QCheckBox(tr("Show legend"));
    m_legendShown->setChecked(true);
    bar->addWidget(m_legendShown);
    connect(m_placement, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &MainWindow::applyLegend);
    connect(m_legendShown, &QCheckBox::toggled, this, &MainWindow::applyLegend);

    bar->addSeparator();
    auto *antialiasing = new QCheckBox(tr("Antialiasing"));
    antialiasing->setChecked(true);
    bar->addWidget(antialiasing);
    connect(antialiasing, &QCheckBox::toggled, this, &MainWindow::applyAntialiasing);
    auto *tooltips = new QCheckBox(tr("Tooltips"));
    tooltips->setChecked(true);
    bar->addWidget(tooltips);
    connect(tooltips, &QCheckBox::toggled, this, &MainWindow::applyTooltips);

    bar->addSeparator();
    bar->addWidget(new QLabel(tr("Title: ")));
    m_title = new QLineEdit;
    m_title->setMinimumWidth(260);
    bar->addWidget(m_title);
    connect(m_title, &QLineEdit::editingFinished, this, &MainWindow::applyTitle);

    // The second row: the opt-in interactions and the dark theme.
    addToolBarBreak();
    QToolBar *view = addToolBar(tr("View"));
    view->setMovable(false);
    addSwitch(view, tr("Wheel zoom"), tr("The mouse wheel zooms about the pointer"),
              &ChartWidget::setWheelZoom);
    addSwitch(view, tr("Double-click reset"), tr("A double click returns to automatic scale"),
              &ChartWidget::setDoubleClickReset);
    addSwitch(view, tr("Hold view"), tr("New data does not widen a zoomed or panned view"),
              &ChartWidget::setHoldView);
    addSwitch(view, tr("Crosshair"), tr("Show the values under the pointer"),
              &ChartWidget::setCrosshair);
    m_zoomBack = view->addAction(tr("Zoom back"), this, &MainWindow::zoomBack);
    m_zoomBack->setShortcut(QKeySequence(Qt::Key_Backspace));
    m_zoomBack->setToolTip(tr("Back to the view before the last zoom, pan or wheel step (Backspace)"));
    for (const Tab &tab : qAsConst(m_charts))
        connect(tab.chart, &ChartWidget::zoomHistoryChanged, this, &MainWindow::updateZoomBack);
    view->addSeparator();
    view->addWidget(new QLabel(tr("Theme: ")));
    auto *theme = new QComboBox;
    theme->addItem(tr("Default"), int(ChartWidget::thDefault));
    theme->addItem(tr("Dark"), int(ChartWidget::thDark));
    theme->addItem(tr("Light"), int(ChartWidget::thLight));
    view->addWidget(theme);
    connect(theme, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this, theme] {
        for (const Tab &tab : qAsConst(m_charts))
            tab.chart->setTheme(ChartWidget::Theme(theme->currentData().toInt()));
    });

    // The live chart's y ticks, and its values under the pointer in the
    // status line.
    view->addSeparator();
    view->addWidget(new QLabel(tr("Live y ticks: ")));
    auto *ticks = new QSpinBox;
    ticks->setRange(0, 20);
    ticks->setSpecialValueText(tr("auto"));
    view->addWidget(ticks);
    connect(ticks, QOverload<int>::of(&QSpinBox::valueChanged), this,
            [this](int n) { m_live->axes()->left()->setPreferredTickCount(n); });
    // A double click on a live legend entry renames the channel.
    connect(m_live->legend(), &Legend::entryDoubleClicked, this, [this](ChartSeries *series) {
        bool ok = false;
        const QString name = QInputDialog::getText(this, tr("Rename"), tr("Name:"), QLineEdit::Normal,
                                                   series->name(), &ok);
        if (ok && !name.isEmpty())
            series->setName(name);
    });
    m_pointer = new QLabel;
    statusBar()->addPermanentWidget(m_pointer);
    m_live->setMouseTracking(true);
    m_live->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_live && event->type() == QEvent::MouseMove) {
        const QPoint pos = static_cast<QMouseEvent *>(event)->pos();
        if (m_live->plotArea().contains(pos)) {
            const QPointF v = m_live->mapToValue(pos);
            const QDateTime t = QDateTime::fromMSecsSinceEpoch(qint64(v.x() * 1000));
            m_pointer->setText(tr("%1  %2").arg(t.toString(QStringLiteral("hh:mm:ss")), QString::number(v.y(), 'f', 2)));
        } else {
            m_pointer->clear();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::addSwitch(QToolBar *bar, const QString &text, const QString &tip,
                           void (ChartWidget::*set)(bool))
{
    auto *box = new QCheckBox(text);
    box->setToolTip(tip);
    bar->addWidget(box);
    connect(box, &QCheckBox::toggled, this, [this, set](bool on) {
        for (const Tab &tab : qAsConst(m_charts))
            (tab.chart->*set)(on);
    });
}

void MainWindow::zoomBack()
{
    if (ChartWidget *chart = currentChart())
        chart->zoomBack();
}

void MainWindow::updateZoomBack()
{
    const ChartWidget *chart = currentChart();
    m_zoomBack->setEnabled(chart && chart->zoomHistorySize() > 0);
}

ChartWidget *MainWindow::currentChart() const
{
    const int i = m_tabs->currentIndex();
    return i >= 0 && i < m_charts.size() ? m_charts.at(i).chart : nullptr;
}

void MainWindow::addMinuteLine(const QDateTime &at)
{
    m_minuteLines.append({m_live->addVLine(new VLine(at, QColor(120, 120, 120), 1)), at});
    // Marks leave with the readings they belong to.
    const QDateTime oldest = at.addSecs(-demo::kLiveWindowSeconds);
    while (!m_minuteLines.isEmpty() && m_minuteLines.first().second <= oldest)
        m_live->removeVLine(m_minuteLines.takeFirst().first);
}

void MainWindow::applyLegend()
{
    const auto placement = Legend::Placement(m_placement->currentData().toInt());
    for (const Tab &tab : qAsConst(m_charts)) {
        tab.chart->legend()->setPlacement(placement);
        tab.chart->legend()->setVisible(m_legendShown->isChecked());
    }
}

void MainWindow::applyAntialiasing(bool on)
{
    for (const Tab &tab : qAsConst(m_charts)) {
        tab.chart->setAntialiasing(on);
        tab.chart->repaint();
    }
}

void MainWindow::applyTooltips(bool on)
{
    for (const Tab &tab : qAsConst(m_charts))
        tab.chart->enableTooltip(on);
}

void MainWindow::applyTitle()
{
    if (ChartWidget *chart = currentChart())
        chart->setTitle(m_title->text());
}

void MainWindow::currentTabChanged()
{
    if (ChartWidget *chart = currentChart())
        m_title->setText(chart->title());
    updateZoomBack();
}

void MainWindow::saveSettings()
{
    ChartWidget *chart = currentChart();
    const QString file = QFileDialog::getSaveFileName(this, tr("Save chart settings"), QString(),
                                                      tr("Chart settings (*.tns);;All files (*)"));
    if (!chart || file.isEmpty())
        return;
    if (!chart->save(ChartWidget::dfBinary, file))
        QMessageBox::critical(this, tr("Error"), tr("Cannot write %1.").arg(QDir::toNativeSeparators(file)));
}

void MainWindow::loadSettings()
{
    ChartWidget *chart = currentChart();
    const QString file = QFileDialog::getOpenFileName(this, tr("Load chart settings"), QString(),
                                                      tr("Chart settings (*.tns);;All files (*)"));
    if (!chart || file.isEmpty())
        return;
    if (!chart->load(ChartWidget::dfBinary, file)) {
        QMessageBox::critical(this, tr("Error"),
                              tr("%1 is no chart settings file.").arg(QDir::toNativeSeparators(file)));
        return;
    }
    m_title->setText(chart->title());
}

// Lets queued points, deferred rescales and the refresh timer run out.
static void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A page of several charts, as its widgets paint it.
static bool writeSvg(QWidget *page, const QString &file)
{
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(page->size());
    svg.setViewBox(page->rect());
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    page->render(&painter);
    return painter.end();
}

QStringList MainWindow::writeGallery(const QString &dir, QSize chartSize)
{
    if (!QDir().mkpath(dir))
        return {};
    m_producer->wait();
    m_spectrum->wait();
    QStringList written;
    for (int i = 0; i < m_charts.size(); ++i) {
        ChartWidget *chart = m_charts.at(i).chart;
        QWidget *shot = m_charts.at(i).picture ? m_charts.at(i).picture : chart;
        m_tabs->setCurrentIndex(i);
        // Fix the chart's size for the picture; the window follows it.
        shot->setFixedSize(chartSize);
        adjustSize();
        settle(250);
        // Ranges widened point by point depend on how the producer's points
        // and minute lines interleaved; one rescale over all the data makes
        // the picture the same on every run.
        chart->setAutoScale(false);
        chart->setAutoScale(true);
        settle(100);
        const QString base = QDir(dir).filePath(m_charts.at(i).key);
        const QString png = base + QStringLiteral(".png");
        const QString svg = base + QStringLiteral(".svg");
        if (!shot->grab().save(png) || !(shot == chart ? chart->exportSvg(svg) : writeSvg(shot, svg)))
            return {};
        written << png << svg;
        // The page's own charts keep the minimum the page gave them.
        shot->setMinimumSize(shot == chart ? QSize(320, 200) : QSize(0, 0));
        shot->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }

    // One chart in the dark theme: the high-low tab.
    int dark = 0;
    while (dark < m_charts.size() - 1 && m_charts.at(dark).key != QLatin1String("highlow"))
        ++dark;
    ChartWidget *chart = m_charts.at(dark).chart;
    m_tabs->setCurrentIndex(dark);
    chart->setFixedSize(chartSize);
    adjustSize();
    chart->setTheme(ChartWidget::thDark);
    settle(100);
    const QString base = QDir(dir).filePath(QStringLiteral("dark"));
    if (!chart->grab().save(base + QStringLiteral(".png")) || !chart->exportSvg(base + QStringLiteral(".svg")))
        return {};
    written << base + QStringLiteral(".png") << base + QStringLiteral(".svg");
    chart->setTheme(ChartWidget::thDefault);
    chart->setMinimumSize(320, 200);
    chart->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    return written;
}
