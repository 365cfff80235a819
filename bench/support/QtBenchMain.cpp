// main() of the widget benchmarks: the benchmark library takes its own options first, then one
// QApplication lives for the whole run, on Qt's offscreen platform unless one is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
