#include "WidgetBenchmarks.h"

#include <QApplication>
#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace qb::bench {
namespace {

int runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace

int runWidgetBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}

int runEventLoopBenchmarks(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}

} // namespace qb::bench
