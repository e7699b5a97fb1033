#pragma once
// The main() of a benchmark that needs widgets: an application on the
// offscreen platform (unless another is asked for), then Google Benchmark.

namespace qb::bench {

int runWidgetBenchmarks(int argc, char** argv);

} // namespace qb::bench
