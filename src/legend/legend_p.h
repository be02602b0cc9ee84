#ifndef LEGEND_P_H
#define LEGEND_P_H

#include "legend.h"
#include "legendowner_p.h"

#include <QCheckBox>
#include <QObject>
#include <QPointer>
#include <QSemaphore>

class PieSeries;
class QStyleOptionButton;

// Exported so that white-box tests and tools can reach the layout hooks.
class TAVRIN_EXPORT LegendPrivate : public QObject
{
    Q_OBJECT
public:
    explicit LegendPrivate(Legend *q);
    ~LegendPrivate() override;

    bool event(QEvent *e) override;
    void adjustGeometry();
    // Where the legend, at its current size, sits in a chart of that size.
    QPoint positionIn(const QSize &chart) const;
    void refreshBoxes();
    void clear();

    // Installs an empty layout for the current placement.
    void installLayout();
    void requestPlotAreaUpdate();
    QCheckBox *createCheckBox(ChartSeries *series);
    // A pie has an entry per slice: added at layout position `at` (at the
    // end for -1), and removed, giving the position of the first.
    void addSliceBoxes(PieSeries *pie, int at);
    int removeSliceBoxes(ChartSeries *pie);
    // Pies whose entries are rebuilt once the current changes are done: a
    // host adding slices one by one would otherwise rebuild per slice.
    QList<QPointer<ChartSeries>> slicesPending;
    // The series a check box of the legend stands for, or null.
    static ChartSeries *seriesOfBox(const QObject *box);
    // The style an entry is drawn with, on screen and in the exports, with
    // `option` and `font` made to match.
    static QStyle *entryStyle(const QCheckBox *box, QStyleOptionButton *option, QFont *font);

    bool isInset() const;
    // The plot area moved or changed its size: an inset legend follows it.
    void followPlotArea();
    // Frame and fills of the viewport for an inset or an outside placement.
    void updateFrame(bool wasInset);
    void paintInsetBox(QPainter *painter) const;

    int placement = -1;
    Legend *q;
    QSemaphore semaphore;
    int eventType;
    bool visible = false;
    LegendOwner *owner = nullptr;

    QColor insetBackground;
    QColor insetBorderColor;
    int insetBorderWidth = 1;
    bool textInSeriesColor = false;
    // What an inset placement changed, given back when the legend leaves it.
    struct OutsideLook {
        int frameStyle;
        int lineWidth;
        bool viewportFill;
        bool contentFill;
    } outsideLook{};

private slots:
    void on_series_change_visible(bool on);
    void on_series_name_changed();
    void on_slices_changed();
    void on_slice_visible_changed(int index, bool visible);
    void on_slice_box_toggled(bool on);
    void on_slices_rebuild();
};

// One entry of the legend. It reports the user's clicks, and it draws and
// measures itself with the application's style as it is without style
// sheets, in the legend's font and palette: a host's rules for check boxes
// would otherwise resize or restyle the legend.
class LegendEntry : public QCheckBox
{
public:
    LegendEntry(const QString &text, LegendPrivate *legend);

    // The style that draws the entry when a style sheet is in effect on it,
    // or null when the widget's own style does.
    QStyle *sheetFreeStyle() const;
    void adjustOption(QStyleOptionButton *option) const;
    QFont entryFont() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool hitButton(const QPoint &pos) const override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    LegendPrivate *legend;
};

#endif // LEGEND_P_H
