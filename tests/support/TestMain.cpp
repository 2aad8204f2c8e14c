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
    std::vector<std::string> chosen;
    std::vector<char*> args{argv[0]};
    int first = 1;
    if (argc > 1 && registry().count(argv[1]) != 0) {
        chosen.emplace_back(argv[1]);
        first = 2;
    } else {
        for (const auto& [name, entry] : registry()) chosen.push_back(name);
    }
    for (int i = first; i < argc; ++i) args.push_back(argv[i]);
    int argCount = static_cast<int>(args.size());

    bool needsGui = false;
    for (const auto& name : chosen) needsGui |= registry().at(name).kind == AppKind::Gui;
    std::unique_ptr<QCoreApplication> app;
    if (needsGui) {
        app = std::make_unique<GuiApplication>(argCount, args.data());
        app->setAttribute(Qt::AA_Use96Dpi, true);
    } else {
        app = std::make_unique<QCoreApplication>(argCount, args.data());
    }

    int failures = 0;
    for (const auto& name : chosen) {
        auto testObject = registry().at(name).make();
        failures += QTest::qExec(testObject.get(), argCount, args.data());
    }
    return failures;
}
