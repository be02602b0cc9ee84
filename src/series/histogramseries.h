#ifndef HISTOGRAMSERIES_H
#define HISTOGRAMSERIES_H

#include "chartseries.h"

class HistogramSeriesPrivate;

/*!
    \class HistogramSeries
    \brief The distribution of raw values: the series counts them into bins
    and draws each bin as a bar from its lower to its upper edge, so the
    bars touch.

    Values come in with addValue() and addValues(); every finite value is
    kept, so a change of the bin rule or of the normalization bins them
    again without loss. NaN and infinities are never binned: they are only
    counted (nonFiniteCount()).

    Bins are chosen by one of three rules (binRule()):
    - Automatic (the default): the Freedman–Diaconis width
        2 IQR / n^(1/3), where IQR is the interquartile range of the n
        binned values. With fewer than 8 values, or an IQR of zero (more
        than half the values equal), Sturges' count ceil(log2 n) + 1 is
        used instead. The bins divide the range of the values evenly.
    - A given count (setBinCount()): that many equal bins over the range.
    - A given width (setBinWidth()): bins whose edges are whole multiples
        of the width (inside a fixed range: steps of the width from its
        lower end), so values added later never move the bins.

    The range is that of the values, or a fixed one (setRange()); values
    outside a fixed range are kept but not binned. Each bin holds the
    values from its lower edge up to, not including, its upper edge; the
    last bin includes its upper edge too.

    When every binned value is equal, the range is widened to one of width
    1 centred on the value (or a millionth of the value's magnitude, when
    that is wider, so the edges stay apart), which one bin covers under the
    automatic rule. No layout has more than maximumBinCount() bins: a
    setBinCount() above it is cut to it, and a setBinWidth() that would
    need more bins is widened, each with a warning; the automatic rule is
    cut silently. Values anywhere in the double range bin alike, from
    -DBL_MAX to DBL_MAX; a range so narrow that equal bins would be thinner
    than the smallest double has one bin.

    A bin's value is its count, its density (the count divided by the
    number of binned values and by the bin's width, so the bars' area is 1)
    or the cumulative count up to its upper edge (setNormalization()). The
    bars rise from 0 (from the lower end of a logarithmic y axis) to the
    value, outlined with the series' colour and filled with its fill
    colour; a semi-transparent fill lets overlaid distributions show
    through. The bounds are those of the bars: from the first lower edge to
    the last upper edge, and from 0 to the largest value; NaN without
    binned values.

    Binning is cheap when values are added later: with a given count inside
    a fixed range, or a given width, new values that fall inside the bins
    are added to them; otherwise (the automatic rule, or a value beyond the
    bins) every value is binned again, once, when the bins are next needed
    (at the next rendering, or any call that reads them). A registered
    series renders its chart once from the event loop for any number of
    additions.

    Rows, as the exports write them, are the bins with the columns
    "X1;X2;Y": lower edge, upper edge and the bin's value as drawn (the
    count unless another normalization is set). The tooltip names the bin
    under the pointer with its edges and count.

    Worker threads may queue blocks of values with
    QMetaObject::invokeMethod(series, "addValues", Qt::QueuedConnection,
    Q_ARG(QVector<double>, block)).
*/
class TAVRIN_EXPORT HistogramSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        \property HistogramSeries::normalization
        \brief What a bin's value is: its count (the default), its density or
        the cumulative count.
    */
    Q_PROPERTY(Normalization normalization READ normalization WRITE setNormalization NOTIFY normalizationChanged)
    /*!
        \property HistogramSeries::binRule
        \brief How the bins are chosen; set by setBinCount(), setBinWidth()
        and setAutomaticBins().
    */
    Q_PROPERTY(BinRule binRule READ binRule NOTIFY binningChanged)
public:
    /*!
        What a bin's value is: \c Counts the number of values in it,
        \c Densities that number divided by the number of binned values and
        by the bin's width, \c CumulativeCounts the number of values in it
        and every bin before it.
    */
    enum Normalization { Counts, Densities, CumulativeCounts };
    Q_ENUM(Normalization)
    /*!
        How the bins are chosen: \c AutomaticBins by the Freedman–Diaconis
        rule (Sturges' for small samples), \c GivenCount by setBinCount(),
        \c GivenWidth by setBinWidth().
    */
    enum BinRule { AutomaticBins, GivenCount, GivenWidth };
    Q_ENUM(BinRule)

    /*!
        One bin: from \c lower up to \c upper, with \c count values and the
        \c value drawn for it (see normalization()).
    */
    struct Bin {
        /*! The lower edge, inside the bin. */
        double lower;
        /*! The upper edge, inside only the last bin. */
        double upper;
        /*! How many values the bin holds. */
        qint64 count;
        /*! The value drawn and exported for the bin. */
        double value;
    };

    /*!
        Constructs an empty series with the given QObject \a parent; automatic
        bins, counts. Once registered with ChartWidget::addSeries() the chart
        owns it.
    */
    explicit HistogramSeries(QObject *parent = nullptr);
    /*!
        Destroys the series.
    */
    ~HistogramSeries() override;

    /*!
        The most bins any layout has: 100,000, more than a screen has pixel
        columns.
    */
    static int maximumBinCount();

    /*!
        Adds the value \a v: a finite value to the values binned, NaN or an
        infinity to nonFiniteCount().
    */
    Q_INVOKABLE void addValue(double v);
    /*!
        Adds the block \a values as addValue() adds each, binned at most once
        for the block. Invokable, so a worker thread may queue blocks.
    */
    Q_INVOKABLE void addValues(const QVector<double> &values);
    /*!
        Adds the point's \a y as a value; \a x is ignored. So that hosts and
        tools that feed every kind through addXY() fill a histogram too.
    */
    void addXY(double x, double y) override;
    /*!
        Removes every value, the non-finite count included; see
        ChartSeries::clear(). The bin rule, range and normalization stay.
    */
    void clear() override;

    /*!
        Returns the finite values added, in the order added.
    */
    QVector<double> values() const;
    /*!
        Returns the number of NaN and infinite values added; they are never
        binned.
    */
    qint64 nonFiniteCount() const;

    /*!
        Returns the bin rule (default: AutomaticBins).
    */
    BinRule binRule() const;
    /*!
        Bins the values into \a count equal bins over the range. A count of 0
        or less is refused with a warning, and nothing changes; a count
        above maximumBinCount() is cut to it with a warning. Emits
        binningChanged() when the rule or the count changes.
    */
    void setBinCount(int count);
    /*!
        Bins the values into bins \a width wide. A width that is not finite
        and greater than 0 is refused with a warning, and nothing changes.
        Emits binningChanged() when the rule or the width changes.
    */
    void setBinWidth(double width);
    /*!
        Goes back to automatic bins; emits binningChanged() when the rule
        changes.
    */
    void setAutomaticBins();
    /*!
        Bins only values from \a lower to \a upper, which become the outer
        edges of the bins. A range that is not finite, or whose \a upper is
        not above \a lower, is refused with a warning. Emits
        binningChanged() on a change.
    */
    void setRange(double lower, double upper);
    /*!
        Goes back to the range of the values; emits binningChanged() when a
        fixed range was set.
    */
    void clearRange();
    /*!
        Returns whether a fixed range is set.
    */
    bool hasFixedRange() const;

    /*!
        Returns what a bin's value is (default: Counts).
    */
    Normalization normalization() const;
    /*!
        Sets what a bin's value is to \a n, emitting normalizationChanged()
        when it changes.
    */
    void setNormalization(Normalization n);

    /*!
        Returns the bins as they are drawn and exported, lowest first; empty
        without binned values.
    */
    QVector<Bin> bins() const;

    /*!
        Returns ChartSeries::stHistogram.
    */
    seriesType type() override;
    /*!
        Returns the number of bins.
    */
    int pointsCount() override;
    /*!
        Returns "X1;X2;Y".
    */
    QString dataAxisString() override;
    /*!
        Returns lower edge, upper edge and value of bin \a i, or an empty
        list when \a i is out of range.
    */
    QList<QVariant> point(int i) override;
    /*!
        Draws the bins that reach into the visible range.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns a bar in the series' colours on a transparent square of
        \a size pixels.
    */
    QIcon icon(int size) override;
    /*! Returns the bin at \a pos; see ChartSeries::indexAt() (\a radius). */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns "From: <lower>\r\nTo: <upper>\r\nCount: <count>" for the bin
        under \a pos, in the x axis' label format, with the density or the
        cumulative count on a fourth line when that is the normalization;
        an empty string elsewhere.
    */
    QString tooltip(const QPoint &pos) override;

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    HistogramSeriesPrivate *d;

signals:
    /*!
        Emitted when the bin rule, the given count or width, or the range
        changes.
    */
    void binningChanged();
    /*!
        Emitted when the normalization changes to \a normalization.
    */
    void normalizationChanged(HistogramSeries::Normalization normalization);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

Q_DECLARE_TYPEINFO(HistogramSeries::Bin, Q_PRIMITIVE_TYPE);

#endif // HISTOGRAMSERIES_H
