// The colour map's colours: presets, the colour table, the colour range,
// the scale bar's axis and the switches of the look.
#include "colormapseries.h"
#include "colormapseries_p.h"

#include "axis.h"
#include "axis_p.h"
#include "colormaptables_p.h"

#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <cmath>

namespace {

QGradientStops tableStops(const QRgb *table)
{
    QGradientStops stops;
    for (int i = 0; i < tavrin::kPerceptualStops; ++i)
        stops.append({double(i) / (tavrin::kPerceptualStops - 1), QColor::fromRgb(table[i])});
    return stops;
}

} // namespace

QGradientStops ColorMapSeries::presetStops(Preset preset)
{
    switch (preset) {
    case Viridis:
        return tableStops(tavrin::kViridis);
    case Magma:
        return tableStops(tavrin::kMagma);
    case Inferno:
        return tableStops(tavrin::kInferno);
    case Plasma:
        return tableStops(tavrin::kPlasma);
    case Cividis:
        return tableStops(tavrin::kCividis);
    case Grey:
        return {{0.0, QColor(0, 0, 0)}, {1.0, QColor(255, 255, 255)}};
    case BlueWhiteRed:
        return {{0.0, QColor(59, 76, 192)}, {0.5, QColor(255, 255, 255)}, {1.0, QColor(180, 4, 38)}};
    default:
        return QGradientStops();
    }
}

void ColorMapSeriesPrivate::buildLut()
{
    ++colors;
    QGradientStops s = stops;
    std::stable_sort(s.begin(), s.end(), [](const QGradientStop &a, const QGradientStop &b) { return a.first < b.first; });
    lut.resize(kLutSize);
    int k = 0;
    for (int i = 0; i < kLutSize; ++i) {
        const double t = double(i) / (kLutSize - 1);
        while (k + 1 < s.size() && s.at(k + 1).first <= t)
            ++k;
        QColor c = s.at(k).second;
        if (t > s.at(k).first && k + 1 < s.size()) {
            const QColor &a = s.at(k).second, &b = s.at(k + 1).second;
            const double f = (t - s.at(k).first) / (s.at(k + 1).first - s.at(k).first);
            auto mix = [f](int u, int v) { return int(std::lround(u + (v - u) * f)); };
            c = QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()),
                       mix(a.alpha(), b.alpha()));
        } else if (t < s.at(k).first) {
            c = s.first().second; // before the first stop
        }
        lut[i] = qPremultiply(c.rgba());
    }
}

void ColorMapSeriesPrivate::colorsChanged()
{
    rangeValid = false;
    changed(false);
    emit q->colorsChanged();
}

int ColorMapSeriesPrivate::colorIndex(double v) const
{
    updateRange();
    if (logColors) {
        if (!(v > 0))
            return -1;
        v = std::log10(v);
    } else if (std::isnan(v)) {
        return -1;
    }
    if (!(hi > lo))
        return std::isfinite(lo) ? 0 : -1;
    const double t = (v - lo) / (hi - lo) * (kLutSize - 1) + 0.5;
    return int(std::min(std::max(t, 0.0), double(kLutSize - 1)));
}

void ColorMapSeries::setGradient(const QGradientStops &stops)
{
    const bool placed = std::all_of(stops.begin(), stops.end(),
                                    [](const QGradientStop &s) { return s.first >= 0 && s.first <= 1; });
    if (stops.isEmpty() || !placed) {
        qWarning("ColorMapSeries::setGradient: no stops, or a stop outside 0 to 1; the gradient stays");
        return;
    }
    d->stops = stops;
    d->preset = Custom;
    d->buildLut();
    d->colorsChanged();
}

QGradientStops ColorMapSeries::gradient() const { return d->stops; }

void ColorMapSeries::setPreset(Preset preset)
{
    if (preset == d->preset || presetStops(preset).isEmpty())
        return;
    d->stops = presetStops(preset);
    d->preset = preset;
    d->buildLut();
    d->colorsChanged();
}

ColorMapSeries::Preset ColorMapSeries::preset() const { return d->preset; }

QColor ColorMapSeries::colorAt(double value) const
{
    const int i = d->colorIndex(value);
    if (i < 0)
        return QColor();
    return QColor::fromRgba(qUnpremultiply(d->lut.at(i)));
}

QLinearGradient ColorMapSeriesPrivate::scaleGradient(const QPointF &from, const QPointF &to) const
{
    QLinearGradient g(from, to);
    g.setStops(stops);
    return g;
}

QIcon ColorMapSeries::icon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.fillRect(QRect(0, 0, size, size), d->scaleGradient(QPointF(0, size), QPointF(0, 0)));
    p.end();
    return QIcon(pm);
}

Axis *ColorMapSeriesPrivate::prepareScale(int length)
{
    updateRange();
    const bool blocked = scaleAxis->blockSignals(true);
    AxisPrivate *a = scaleAxis->d;
    if (a->logarithmic != logColors) {
        a->rawMin = a->rawMax = nan();
        scaleAxis->setLogarithmic(logColors);
    }
    a->setLength(length);
    if (std::isfinite(lo) && std::isfinite(hi) && hi > lo) {
        scaleAxis->setRange(logColors ? std::pow(10.0, lo) : lo, logColors ? std::pow(10.0, hi) : hi);
    } else {
        a->rawMin = a->rawMax = nan();
    }
    a->updateTransform();
    a->updateTicks();
    scaleAxis->blockSignals(blocked);
    return scaleAxis;
}

void ColorMapSeriesPrivate::updateRange() const
{
    if (rangeValid)
        return;
    rangeValid = true;
    if (!autoRange) {
        lo = logColors ? std::log10(fixedLo) : fixedLo;
        hi = logColors ? std::log10(fixedHi) : fixedHi;
        return;
    }
    const_cast<ColorMapSeriesPrivate *>(this)->cleanRows();
    double mn = nan(), mx = nan();
    const QVector<double> &low = logColors ? rowMinPositive : rowMin;
    for (int r = 0; r < nr; ++r) {
        const int p = physRow(r);
        // A row without a finite value has NaN figures, which take no part.
        const double a = low.at(p), b = rowMax.at(p);
        if (a < mn || std::isnan(mn))
            mn = a;
        if (b > mx || std::isnan(mx))
            mx = b;
    }
    if (logColors) {
        // A row may hold a positive minimum but no positive maximum.
        if (!(mx > 0))
            mn = mx = nan();
        mn = std::log10(mn);
        mx = std::log10(mx);
    }
    lo = mn;
    hi = mx;
}

bool ColorMapSeries::setDataRange(double lo, double hi)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || !(lo < hi) || (d->logColors && !(lo > 0))) {
        qWarning("ColorMapSeries::setDataRange: [%g, %g] is no colour range%s; nothing changed", lo, hi,
                 d->logColors ? " for logarithmic colours" : "");
        return false;
    }
    if (!d->autoRange && lo == d->fixedLo && hi == d->fixedHi)
        return true;
    d->autoRange = false;
    d->fixedLo = lo;
    d->fixedHi = hi;
    d->colorsChanged();
    return true;
}

void ColorMapSeries::setAutoDataRange()
{
    if (d->autoRange)
        return;
    d->autoRange = true;
    d->colorsChanged();
}

double ColorMapSeries::dataRangeMin() const
{
    d->updateRange();
    return d->logColors ? std::pow(10.0, d->lo) : d->lo;
}

double ColorMapSeries::dataRangeMax() const
{
    d->updateRange();
    return d->logColors ? std::pow(10.0, d->hi) : d->hi;
}

void ColorMapSeries::setLogarithmicColors(bool on)
{
    if (on == d->logColors)
        return;
    d->logColors = on;
    if (on && !d->autoRange && !(d->fixedLo > 0))
        d->autoRange = true;
    d->colorsChanged();
}

void ColorMapSeries::setSmoothing(bool on)
{
    if (on == d->smooth)
        return;
    d->smooth = on;
    d->changed(false);
    emit smoothingChanged(on);
}

void ColorMapSeries::setColorScaleVisible(bool on)
{
    if (on == d->scaleVisible)
        return;
    d->scaleVisible = on;
    d->changed(false);
    emit colorScaleVisibleChanged(on);
}

bool ColorMapSeries::isDataRangeAutomatic() const { return d->autoRange; }

bool ColorMapSeries::logarithmicColors() const { return d->logColors; }

bool ColorMapSeries::smoothing() const { return d->smooth; }

bool ColorMapSeries::isColorScaleVisible() const { return d->scaleVisible; }

Axis *ColorMapSeries::colorScaleAxis() const { return d->scaleAxis; }
