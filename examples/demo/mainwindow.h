#ifndef DEMO_MAINWINDOW_H
#define DEMO_MAINWINDOW_H

#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class ChartWidget;
class LineSeries;
class Producer;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QThread;
class QToolBar;
class QAction;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // Gallery mode feeds the live tab a fixed stretch of data as fast as it
    // can, so that every run draws the same picture.
    explicit MainWindow(bool galleryMode = false, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Writes <dir>/<tab>.png and <dir>/<tab>.svg for every tab; returns the
    // paths written, or an empty list when a file could not be written.
    QStringList writeGallery(const QString &dir, QSize chartSize);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void addMinuteLine(const QDateTime &at);
    void applyLegend();
    void applyAntialiasing(bool on);
    void applyTooltips(bool on);
    void applyTitle();
    void currentTabChanged();
    void zoomBack();
    void updateZoomBack();
    void saveSettings();
    void loadSettings();

private:
    struct Tab {
        QString key;
        ChartWidget *chart;
        QWidget *picture; // what the gallery shows; null: the chart alone
    };
    // `page` holds the chart and what goes beside it; null: the chart alone.
    // With `wholePage` the gallery pictures the page, not just the chart.
    void addTab(const QString &key, const QString &label, ChartWidget *chart, QWidget *page = nullptr,
                bool wholePage = false);
    void buildToolBar();
    void addPartsTab(bool galleryMode);
    ChartWidget *currentChart() const;
    // Calls `set` on every chart when the box is toggled.
    void addSwitch(QToolBar *bar, const QString &text, const QString &tip,
                   void (ChartWidget::*set)(bool));

    QTabWidget *m_tabs;
    QList<Tab> m_charts;
    Producer *m_producer = nullptr;
    QThread *m_spectrum = nullptr; // feeds the spectrogram
    ChartWidget *m_live = nullptr;
    // Marker lines on the live tab, oldest first: id and time.
    QList<QPair<int, QDateTime>> m_minuteLines;
    QComboBox *m_placement = nullptr;
    QCheckBox *m_legendShown = nullptr;
    QLineEdit *m_title = nullptr;
    QAction *m_zoomBack = nullptr;
    QLabel *m_pointer = nullptr;
};

#endif // DEMO_MAINWINDOW_H
