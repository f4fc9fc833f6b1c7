// Figures as the median of several runs, each in a process of its own.
// Memory speed depends on where a process's pages happen to lie, so runs
// within one process agree with each other more than with the next process.
//
// A bench given `--runs N` starts itself N times with `--cells` and the rest
// of its arguments; each child prints its figures (cells) as plain numbers,
// always in the same order, and the parent takes each cell's median.
#ifndef TAVREL_BENCH_RUNS_H
#define TAVREL_BENCH_RUNS_H

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

struct RunOptions {
  int runs = 1;       // --runs N: medians over N processes
  bool cells = false; // --cells: a child, printing only its figures
  std::vector<std::string> rest;
};

// Takes --runs N and --cells out of argv; the rest stays in order.
inline RunOptions ParseRunOptions(int argc, char **argv) {
  RunOptions options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
      options.runs = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--cells") == 0)
      options.cells = true;
    else
      options.rest.push_back(argv[i]);
  }
  return options;
}

inline void PrintCells(const std::vector<double> &cells) {
  for (double cell : cells)
    std::printf("%.17g\n", cell);
}

// The command line that starts this program again as a child.
inline std::string ChildCommand(const RunOptions &options) {
  char self[4096] = {};
#ifdef _WIN32
  GetModuleFileNameA(nullptr, self, sizeof self - 1);
  const char *quote = "\"";
#else
  if (readlink("/proc/self/exe", self, sizeof self - 1) < 0) return "";
  const char *quote = "'";
#endif
  std::string command = std::string(quote) + self + quote + " --cells";
  for (const std::string &arg : options.rest)
    command += std::string(" ") + quote + arg + quote;
#ifdef _WIN32
  command = "\"" + command + "\""; // cmd /c takes off the outer quotes
#endif
  return command;
}

// One child's cells; empty if it failed or printed a different count.
inline std::vector<double> ChildCells(const std::string &command,
                                      size_t count) {
  std::vector<double> cells;
  FILE *child = popen(command.c_str(), "r");
  if (child == nullptr) return cells;
  double cell;
  while (std::fscanf(child, "%lf", &cell) == 1)
    cells.push_back(cell);
  if (pclose(child) != 0 || cells.size() != count) cells.clear();
  return cells;
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Per cell, the median over options.runs children; empty if a child failed.
inline std::vector<double> MedianCells(const RunOptions &options,
                                       size_t count) {
  std::string command = ChildCommand(options);
  std::vector<std::vector<double>> runs;
  for (int r = 0; r < options.runs; ++r) {
    std::fprintf(stderr, "run %d of %d\n", r + 1, options.runs);
    runs.push_back(ChildCells(command, count));
    if (runs.back().empty()) return {};
  }
  std::vector<double> medians(count);
  for (size_t c = 0; c < count; ++c) {
    std::vector<double> values;
    for (const auto &run : runs)
      values.push_back(run[c]);
    medians[c] = Median(values);
  }
  return medians;
}

#endif
