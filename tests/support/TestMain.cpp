// The main of every area's test executable: `AREA_tests [CLASS] [QTest options]`.

#include "TestMain.h"

#include <QCoreApplication>
#include <QTest>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#ifdef QT_WIDGETS_LIB
#include <QApplication>
using GuiApplication = QApplication;
#else
#include <QGuiApplication>
using GuiApplication = QGuiApplication;
#endif

namespace tav::test {
namespace {

struct Entry {
    AppKind kind;
    std::function<std::unique_ptr<QObject>()> make;
};

std::map<std::string, Entry>& registry() {
    static std::map<std::string, Entry> classes;
    return classes;
}

}  // namespace

bool registerTestClass(const char* name, AppKind kind,
                       std::function<std::unique_ptr<QObject>()> make) {
    registry().emplace(name, Entry{kind, std::move(make)});
    return true;
}

}  // namespace tav::test

int main(int argc, char* argv[]) {
    using namespace tav::test;
    const bool one = argc > 1 && registry().count(argv[1]) != 0;
    std::vector<std::string> chosen;
    for (const auto& [name, entry] : registry())
        if (!one || name == argv[1]) chosen.push_back(name);
    std::vector<char*> args{argv[0]};
    for (int i = one ? 2 : 1; i < argc; ++i) args.push_back(argv[i]);
    int argCount = static_cast<int>(args.size());

    bool needsGui = false;
    for (const auto& name : chosen) needsGui |= registry().at(name).kind == AppKind::Gui;
    const std::unique_ptr<QCoreApplication> app(needsGui
                                                    ? new GuiApplication(argCount, args.data())
                                                    : new QCoreApplication(argCount, args.data()));
    if (needsGui) app->setAttribute(Qt::AA_Use96Dpi, true);
    int failures = 0;
    for (const auto& name : chosen)
        failures += QTest::qExec(registry().at(name).make().get(), argCount, args.data());
    return failures;
}
