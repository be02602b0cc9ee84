#ifndef TAVRIN_GLOBAL_H
#define TAVRIN_GLOBAL_H

#include <QtCore/qglobal.h>

#if defined(TAVRIN_BUILD_LIBRARY)
#  define TAVRIN_EXPORT Q_DECL_EXPORT
#else
#  define TAVRIN_EXPORT Q_DECL_IMPORT
#endif

#endif // TAVRIN_GLOBAL_H
