#ifndef COLORMAPSERIES_H
#define COLORMAPSERIES_H

#include "chartseries.h"

#include <QGradientStops>

class ColorMapSeriesPrivate;

/*!
    \class ColorMapSeries
    \brief A grid of values drawn as colours: a heat map, a spectrogram, a
    camera image, or a waterfall that scrolls as rows arrive.

    The grid has columns() x rows() cells covering the extent from
    (minX(), minY()) to (maxX(), maxY()) edge to edge: column 0 starts at
    minX(), row 0 at minY(). The extent is the series' bounds, so automatic
    scaling fits the axes to it.

    Each cell is painted in the colour its value takes in the gradient
    (viridis unless setGradient() or setPreset() chose another) over the
    colour range: automatic from the finite values (NaN and infinities are
    ignored), or fixed with setDataRange(). Values outside the range take the
    end colours; NaN cells are not drawn, nor, on logarithmic colours,
    values <= 0. Cells are drawn nearest-cell by default; setSmoothing()
    blends between cell centres. However large the grid, a rendering costs
    in proportion to the pixels of the plot it covers, not to the cells
    (only finding the automatic colour range after setData() visits every
    cell, once). A replot of an unchanged map redraws its last picture, a
    pan along a linear axis draws only the columns that came in, and a
    waterfall colours only its new rows.

    A registered, visible colour map shows a colour-scale bar right of the
    plot (right of the right axis when that is in use, left of a right-hand
    legend): the gradient with the ticks, labels and title of
    colorScaleAxis(). setColorScaleVisible(false) removes it. Of several
    colour maps, the first registered one whose bar is switched on shows it.

    Rows for the exports: one per cell, row after row from row 0 up and
    column after column within a row, with the columns "X;Y;Z": the x and y
    of the cell's centre and its value. The tooltip gives the same three
    values for the cell under the mouse.

    Streaming: addRow() puts a row above the top one and addColumn() a
    column right of the last, the extent growing by one cell; with
    setMaximumRows() or setMaximumColumns() the oldest row or column drops
    at the same time, so the map scrolls in constant memory. Adding a row
    costs in proportion to its length (and the number of rows, for the
    colour range), whatever the size of the grid; so does adding a column
    once the column limit is reached. Before a limit is reached the grid
    grows as a vector does, copied now and then to twice its room.

    Bad input changes nothing: the data calls return false and print a
    warning for a value count that does not match the grid, sizes that are
    not positive, grids of more than maximumCells() cells (refused before
    anything is allocated), extents that are empty, reversed or not finite,
    rows or columns of the wrong length and cells outside the grid.

    ChartSeries::addXY() and ChartSeries::addPoints() add nothing to a
    colour map. A registered colour map renders at the next pass of the
    event loop after a data call (several calls render once), or at the
    chart's refresh timer when one is set; a call that moves the extent
    fits the axes at once under automatic scaling.

    \note The data calls setData(), setCell(), addRow() and addColumn() are
    invokable: a worker thread may queue them, with their arguments by value,
    through QMetaObject::invokeMethod() and Qt::QueuedConnection.
*/
class TAVRIN_EXPORT ColorMapSeries : public ChartSeries
{
    Q_OBJECT
    /*!
        \property ColorMapSeries::preset
        \brief The built-in gradient in use, or \c Custom after setGradient().
        \sa setPreset()
    */
    Q_PROPERTY(Preset preset READ preset WRITE setPreset NOTIFY colorsChanged)
    /*!
        \property ColorMapSeries::logarithmicColors
        \brief Whether values are placed on the gradient by their logarithm
        (default: false).
        \sa setLogarithmicColors()
    */
    Q_PROPERTY(bool logarithmicColors READ logarithmicColors WRITE setLogarithmicColors NOTIFY colorsChanged)
    /*!
        \property ColorMapSeries::smoothing
        \brief Whether colours blend between cell centres (default: false).
        \sa setSmoothing()
    */
    Q_PROPERTY(bool smoothing READ smoothing WRITE setSmoothing NOTIFY smoothingChanged)
    /*!
        \property ColorMapSeries::colorScaleVisible
        \brief Whether the chart shows the colour-scale bar (default: true).
        \sa setColorScaleVisible()
    */
    Q_PROPERTY(bool colorScaleVisible READ isColorScaleVisible WRITE setColorScaleVisible NOTIFY colorScaleVisibleChanged)
    /*!
        \property ColorMapSeries::maximumRows
        \brief The most rows kept; 0 (the default) for no limit.
        \sa setMaximumRows()
    */
    Q_PROPERTY(int maximumRows READ maximumRows WRITE setMaximumRows NOTIFY maximumRowsChanged)
    /*!
        \property ColorMapSeries::maximumColumns
        \brief The most columns kept; 0 (the default) for no limit.
        \sa setMaximumColumns()
    */
    Q_PROPERTY(int maximumColumns READ maximumColumns WRITE setMaximumColumns NOTIFY maximumColumnsChanged)
public:
    /*!
        The built-in gradients: the perceptually uniform \c Viridis (0, the
        default), \c Magma (1), \c Inferno (2), \c Plasma (3) and \c Cividis
        (4), \c Grey (5) from black to white, the diverging \c BlueWhiteRed
        (6), and \c Custom (7) for stops set with setGradient().
    */
    enum Preset : int { Viridis, Magma, Inferno, Plasma, Cividis, Grey, BlueWhiteRed, Custom };
    Q_ENUM(Preset)

    /*!
        Constructs an empty colour map with no parent.
    */
    ColorMapSeries();
    /*!
        Destroys the series.
    */
    ~ColorMapSeries() override;

    /*!
        Returns the largest grid a colour map holds: 268,435,455 cells, the
        doubles that fit in 2 GiB.
    */
    static qint64 maximumCells();

    /*!
        Replaces the grid with \a columns x \a rows \a values, row-major (row
        0 first), covering [\a xMin, \a xMax] x [\a yMin, \a yMax]. The
        values are shared with \a values, not copied, until either side
        changes them. Rows or columns beyond the limits drop from the bottom
        or the left, moving the extent with them. Returns false, prints a
        warning and changes nothing when the count is not \a columns x
        \a rows, a size is not positive, the grid exceeds maximumCells(), or
        an extent is empty, reversed or not finite.
    */
    Q_INVOKABLE bool setData(const QVector<double> &values, int columns, int rows, double xMin,
                             double xMax, double yMin, double yMax);
    /*!
        Sets the cell at \a column, \a row to \a value. Returns false, with a
        warning, for a cell outside the grid.
    */
    Q_INVOKABLE bool setCell(int column, int row, double value);
    /*!
        Returns the value of the cell at \a column, \a row; NaN outside the
        grid.
    */
    double cell(int column, int row) const;
    /*!
        Returns the number of columns; 0 while the map is empty.
    */
    int columns() const;
    /*!
        Returns the number of rows; 0 while the map is empty.
    */
    int rows() const;
    /*!
        Puts \a values as a new row above the top one; the extent grows by
        one row height. With maximumRows() reached, the bottom row drops and
        the extent moves up instead. An empty map takes the row as a grid of
        one row over [0, columns] x [0, 1]. Returns false, with a warning,
        for a row whose length is not columns() (or is 0) and for a grid that
        would exceed maximumCells().
    */
    Q_INVOKABLE bool addRow(const QVector<double> &values);
    /*!
        Puts \a values as a new column right of the last one, as addRow()
        does for rows: the value for row r is \a values[r]. With
        maximumColumns() reached, the leftmost column drops. An empty map
        takes the column as a grid over [0, 1] x [0, rows]. Returns false,
        with a warning, for a column whose length is not rows() (or is 0).
    */
    Q_INVOKABLE bool addColumn(const QVector<double> &values);
    /*!
        Keeps at most \a rows rows (0 for no limit; a negative value is
        taken as 0), dropping the bottom ones now and whenever addRow() goes
        beyond. Emits maximumRowsChanged() when the limit changed.
    */
    void setMaximumRows(int rows);
    /*!
        Returns the row limit; 0 for none.
    */
    int maximumRows() const;
    /*!
        Keeps at most \a columns columns (0 for no limit), dropping the
        leftmost ones, as setMaximumRows() does for rows.
    */
    void setMaximumColumns(int columns);
    /*!
        Returns the column limit; 0 for none.
    */
    int maximumColumns() const;

    /*!
        Sets the gradient to \a stops (positions 0 to 1, as QGradient takes
        them; transparent colours are allowed). preset() becomes \c Custom.
        An empty list, or one with a position outside 0 to 1 (or NaN), is
        refused with a warning. Emits colorsChanged().
    */
    void setGradient(const QGradientStops &stops);
    /*!
        Returns the gradient's stops.
    */
    QGradientStops gradient() const;
    /*!
        Uses the built-in gradient \a preset; \c Custom is ignored. Emits
        colorsChanged() when it changed.
    */
    void setPreset(Preset preset);
    /*!
        Returns the built-in gradient in use, or \c Custom.
    */
    Preset preset() const;
    /*!
        Returns the stops of the built-in gradient \a preset (empty for
        \c Custom). The perceptual ones are every fifth entry of their
        published 256-colour tables (52 stops); interpolated, they stay
        within one level of 255 per channel of the full tables (cividis:
        four, near its dark end).
    */
    static QGradientStops presetStops(Preset preset);

    /*!
        Fixes the colour range to \a lo .. \a hi: \a lo takes the first
        colour of the gradient, \a hi the last. Returns false, with a
        warning, unless both are finite and \a lo < \a hi (and, with
        logarithmic colours, \a lo > 0). Emits colorsChanged().
    */
    bool setDataRange(double lo, double hi);
    /*!
        Goes back to the automatic colour range. Emits colorsChanged() when
        the range was fixed.
    */
    void setAutoDataRange();
    /*!
        Returns whether the colour range follows the data (the default).
    */
    bool isDataRangeAutomatic() const;
    /*!
        Returns the lower end of the colour range in use; NaN while there is
        none (no finite value, or no positive one on logarithmic colours).
    */
    double dataRangeMin() const;
    /*!
        Returns the upper end of the colour range in use; NaN while there is
        none.
    */
    double dataRangeMax() const;
    /*!
        Places values on the gradient by their logarithm when \a on is true;
        values <= 0 are then not drawn. Emits colorsChanged() when it
        changed. A fixed range with a lower end <= 0 goes back to automatic.
    */
    void setLogarithmicColors(bool on);
    /*!
        Returns whether colours are logarithmic.
    */
    bool logarithmicColors() const;
    /*!
        Returns the colour a cell of \a value is drawn in with the current
        gradient and range; an invalid colour for a value that is not drawn.
    */
    QColor colorAt(double value) const;

    /*!
        Blends colours between cell centres when \a on is true, instead of
        painting each cell in one colour. Emits smoothingChanged() when it
        changed.
    */
    void setSmoothing(bool on);
    /*!
        Returns whether colours blend between cell centres.
    */
    bool smoothing() const;

    /*!
        Shows or hides the chart's colour-scale bar for this map, as \a on
        says. Emits colorScaleVisibleChanged() when it changed; the chart
        lays out again.
    */
    void setColorScaleVisible(bool on);
    /*!
        Returns whether the colour-scale bar is shown for this map.
    */
    bool isColorScaleVisible() const;
    /*!
        Returns the axis that draws the colour-scale bar's ticks, labels and
        title. A host may set its title, fonts, label format, date-time mode,
        custom labels and ticks; its range and its logarithm follow the
        colour range. The series owns it.
    */
    Axis *colorScaleAxis() const;

    /*!
        Adds nothing: a colour map takes its values through setData(),
        setCell(), addRow() and addColumn().
    */
    void addXY(double x, double y) override;
    using ChartSeries::addXY;
    /*!
        Removes every cell (the map becomes empty, its bounds NaN); see
        ChartSeries::clear(). The limits, colours and range stay.
    */
    void clear() override;
    /*!
        Returns ChartSeries::stColorMap.
    */
    seriesType type() override;
    /*!
        Returns the number of cells.
    */
    int pointsCount() override;
    /*!
        Returns "X;Y;Z".
    */
    QString dataAxisString() override;
    /*!
        Returns the centre x, centre y and value of cell \a i (row i /
        columns(), column i % columns()), or an empty list when \a i is out of
        range.
    */
    QList<QVariant> point(int i) override;
    /*!
        Draws the cells within the plot as one image at the painter's device
        resolution.
    */
    void draw(QPainter *painter) override;
    /*!
        Returns the gradient from bottom to top on a square of \a size
        pixels.
    */
    QIcon icon(int size) override;
    /*!
        Returns "X: <x>\r\nY: <y>\r\nZ: <value>" of the cell under \a pos
        (its centre, in the axes' label format), or an empty string outside
        the grid or over a NaN cell.
    */
    QString tooltip(const QPoint &pos) override;
    /*!
        Returns the index of the cell under \a pos, in pixels from the plot
        area's top-left corner (the pixel's centre decides, as for
        tooltip()): row * columns + column, counting rows from the lowest y
        up, which is the cell's row of point(). Returns -1 outside the grid
        and over a NaN cell; \a radius is ignored.
        \sa ChartWidget::pointAt()
    */
    int indexAt(const QPointF &pos, double radius) const override;
    /*!
        Returns the value of the cell at the plot pixel \a pos (as
        tooltip() takes it); NaN outside the grid.
    */
    double valueAt(const QPoint &pos) const;
    /*!
        The value at an x alone, as every series has it: a colour map has no
        one value per x, so this is NaN.
    */
    using ChartSeries::valueAt;

    /*!
        The series' private implementation; not part of the API a host uses.
    */
    ColorMapSeriesPrivate *d;

signals:
    /*!
        Emitted when the gradient, the range mode or the fixed range, or the
        logarithmic switch changed.
    */
    void colorsChanged();
    /*!
        Emitted when setSmoothing() changed the switch to \a on.
    */
    void smoothingChanged(bool on);
    /*!
        Emitted when setColorScaleVisible() changed the switch to \a on.
    */
    void colorScaleVisibleChanged(bool on);
    /*!
        Emitted when the row limit changed to \a rows.
    */
    void maximumRowsChanged(int rows);
    /*!
        Emitted when the column limit changed to \a columns.
    */
    void maximumColumnsChanged(int columns);

protected:
    int appendPoints(const double *x, const double *y, int stride, int count) override;
};

#endif // COLORMAPSERIES_H
