#ifndef TAVRIN_H
#define TAVRIN_H

#include "tavrin_global.h"
#include "axis.h"
#include "axes.h"
#include "chartseries.h"
#include "lineseries.h"
#include "pointseries.h"
#include "minmaxpointseries.h"
#include "barseries.h"
#include "boxandwhiskersseries.h"
#include "highlowseries.h"
#include "histogramseries.h"
#include "ganttseries.h"
#include "pieseries.h"
#include "colormapseries.h"
#include "vline.h"
#include "chartitem.h"
#include "lineitem.h"
#include "rangeitem.h"
#include "textitem.h"
#include "legend.h"
#include "charthit.h"
#include "chartwidget.h"
#include "chartgroup.h"

#endif // TAVRIN_H
