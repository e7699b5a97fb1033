#pragma once
// The main() of a benchmark that needs Qt's event loop: an application, then
// Google Benchmark.

namespace qb::bench {

// Widgets, on the offscreen platform unless another is asked for.
int runWidgetBenchmarks(int argc, char** argv);
// The event loop alone (the port's notifiers and the reply timers).
int runEventLoopBenchmarks(int argc, char** argv);

} // namespace qb::bench
