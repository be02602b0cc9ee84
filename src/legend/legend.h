#ifndef LEGEND_H
#define LEGEND_H

#include "tavrin_global.h"

#include <QScrollArea>

class ChartSeries;
class LegendPrivate;

// A scrollable column or row of check boxes, one per series, floating along
// one edge of the chart. Checking a box shows its series, unchecking hides it.
class TAVRIN_EXPORT Legend : public QScrollArea
{
    Q_OBJECT
    Q_PROPERTY(bool visible READ isVisible WRITE setVisible)
    Q_PROPERTY(Placement placement READ placement WRITE setPlacement)
public:
    enum Placement : int {
        plRight = 0,
        plRightInverted = 1,
        plLeft = 2,
        plLeftInverted = 3,
        plTop = 4,
        plTopInverted = 5,
        plBottom = 6,
        plBottomInverted = 7
    };
    Q_ENUM(Placement)

    explicit Legend(QWidget *parent = nullptr);
    Legend(const Legend &other);
    ~Legend() override;

    void addSeries(ChartSeries *series);
    void removeSeries(ChartSeries *series);
    Placement placement() const;
    void setPlacement(Placement placement);
    void setVisible(bool visible) override;

    LegendPrivate *d;
};

#endif // LEGEND_H
