#ifndef TAVRIN_TESTMAIN_H
#define TAVRIN_TESTMAIN_H

#include <QObject>
#include <functional>
#include <vector>

namespace tavrintest {

using Factory = std::function<QObject *()>;

std::vector<std::pair<const char *, Factory>> &registry();

struct Registrar {
    Registrar(const char *name, Factory f) { registry().emplace_back(name, std::move(f)); }
};

} // namespace tavrintest

// Registers a QObject test class with the folder's shared main().
#define TAVRIN_TEST(Class) \
    static tavrintest::Registrar tavrin_registrar_##Class(#Class, [] { return static_cast<QObject *>(new Class); });

#endif // TAVRIN_TESTMAIN_H
