// Paired rounds for the benchmarks: two sides measured round by round in
// alternating order (so that neither always runs on the warmer cache), and
// the median of the per-round ratios, which one slow round does not move.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <QElapsedTimer>

namespace bench {

inline double median(std::vector<double> v)
{
  if (v.empty())
    return 0;
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct PairedResult {
  std::vector<double> baseMs;  // the reference side of each round
  std::vector<double> oursMs;  // the measured side of each round
  std::vector<double> ratios;  // ours / base of each round
  double medianRatio() const { return median(ratios); }
  double medianBaseMs() const { return median(baseMs); }
  double medianOursMs() const { return median(oursMs); }
};

// Runs `rounds` rounds of both sides; even rounds run the base first, odd
// rounds ours first. Each function is timed as a whole.
inline PairedResult runPaired(int rounds, const std::function<void()>& base, const std::function<void()>& ours)
{
  PairedResult r;
  auto timed = [](const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e6;
  };
  for (int i = 0; i < std::max(1, rounds); ++i) {
    double b, o;
    if (i % 2 == 0) {
      b = timed(base);
      o = timed(ours);
    } else {
      o = timed(ours);
      b = timed(base);
    }
    r.baseMs.push_back(b);
    r.oursMs.push_back(o);
    r.ratios.push_back(b > 0 ? o / b : 0);
  }
  return r;
}

// Prints each round and the medians under the two sides' names.
inline void printPaired(const PairedResult& r, const char* baseName, const char* oursName, double target = 0)
{
  for (size_t i = 0; i < r.ratios.size(); ++i)
    std::printf("round %zu%s: %s %.1f ms, %s %.1f ms, ratio %.3f\n", i + 1, i % 2 ? " (ours first)" : "", baseName,
                r.baseMs[i], oursName, r.oursMs[i], r.ratios[i]);
  std::printf("median of %zu rounds: %s %.1f ms, %s %.1f ms\n", r.ratios.size(), baseName, r.medianBaseMs(), oursName,
              r.medianOursMs());
  if (target > 0)
    std::printf("median of the per-round ratios: %.3f (target at most %.2f)\n", r.medianRatio(), target);
  else
    std::printf("median of the per-round ratios: %.3f\n", r.medianRatio());
}

}  // namespace bench
