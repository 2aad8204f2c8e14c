#pragma once
// One executable per area: a test class registers with TAV_TEST (a widgets or GUI
// application, as the area links) or TAV_TEST_GUILESS; main runs the class named
// by its first argument, or every class in turn.

#include <QObject>
#include <QTest>
#include <functional>
#include <memory>

namespace tav::test {

enum class AppKind { Guiless, Gui };

bool registerTestClass(const char* name, AppKind kind,
                       std::function<std::unique_ptr<QObject>()> make);

// A data row per "name|field|...;" of `rows`, named by its first field; QFETCH(QStringList, row).
inline void textRows(const char* rows) {
    QTest::addColumn<QStringList>("row");
    for (const QString& r : QString::fromUtf8(rows).split(u';'))
        QTest::newRow(qPrintable(r)) << r.split(u'|');
}

}  // namespace tav::test

#define TAV_TEST_REGISTER(Class, kind)                                           \
    static const bool tavTestRegistered##Class = ::tav::test::registerTestClass( \
        #Class, kind, [] { return std::unique_ptr<QObject>(std::make_unique<Class>()); })

#define TAV_TEST(Class) TAV_TEST_REGISTER(Class, ::tav::test::AppKind::Gui)
#define TAV_TEST_GUILESS(Class) TAV_TEST_REGISTER(Class, ::tav::test::AppKind::Guiless)
