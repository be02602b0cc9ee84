#ifndef CHARTHIT_H
#define CHARTHIT_H

#include "tavrin_global.h"

#include <QMetaType>

/*!
    \class ChartHit
    \brief What ChartWidget::pointAt() found: a series by its id and a data
    item of it by its row index.

    A hit that found nothing has both members at -1; since a series may be
    registered under a negative id, ask isValid() rather than the id.
*/
class ChartHit
{
public:
    /*! The id of the series, as ChartWidget::addSeries() gave it, or -1. */
    int seriesId = -1;
    /*! The row of the item in the series (ChartSeries::point()), or -1. */
    int index = -1;

    /*! Returns true when the hit names a series and an item of it. */
    bool isValid() const { return index >= 0; }
    /*! Returns true when \a other names the same item. */
    bool operator==(const ChartHit &other) const
    {
        return seriesId == other.seriesId && index == other.index;
    }
    /*! Returns true when \a other names another item. */
    bool operator!=(const ChartHit &other) const { return !(*this == other); }
};

Q_DECLARE_METATYPE(ChartHit)

#endif // CHARTHIT_H
