#include "bench/beat_eval/scores.h"

#include <algorithm>
#include <cmath>

namespace beat_eval {

namespace {

std::vector<double> within(const std::vector<double>& times, double from) {
  std::vector<double> out;
  for (double t : times)
    if (t >= from) out.push_back(t);
  return out;
}

}  // namespace

std::vector<bool> matched(const std::vector<double>& truth, const std::vector<double>& found) {
  std::vector<bool> hit(found.size(), false), used(truth.size(), false);
  for (std::size_t i = 0; i < found.size(); ++i) {
    auto it = std::lower_bound(truth.begin(), truth.end(), found[i] - kWindow);
    double bestGap = kWindow + 1;
    std::size_t best = truth.size();
    for (; it != truth.end() && *it <= found[i] + kWindow; ++it) {
      const std::size_t j = static_cast<std::size_t>(it - truth.begin());
      if (!used[j] && std::abs(*it - found[i]) < bestGap) bestGap = std::abs(*it - found[i]), best = j;
    }
    if (best < truth.size()) hit[i] = used[best] = true;
  }
  return hit;
}

double fMeasure(const std::vector<double>& truth, const std::vector<double>& found) {
  const std::vector<double> t = within(truth, kSkip), f = within(found, kSkip);
  if (t.empty() || f.empty()) return 0.0;
  const std::vector<bool> hit = matched(t, f);
  const double hits = static_cast<double>(std::count(hit.begin(), hit.end(), true));
  const double precision = hits / static_cast<double>(f.size()), recall = hits / static_cast<double>(t.size());
  return hits > 0 ? 2 * precision * recall / (precision + recall) : 0.0;
}

LevelScore anyLevel(const std::vector<double>& truth, const std::vector<double>& found) {
  LevelScore best{fMeasure(truth, found), "="};
  std::vector<double> doubled, even, odd;
  for (std::size_t i = 0; i < truth.size(); ++i) {
    doubled.push_back(truth[i]);
    if (i + 1 < truth.size()) doubled.push_back(0.5 * (truth[i] + truth[i + 1]));
    (i % 2 == 0 ? even : odd).push_back(truth[i]);
  }
  for (const auto& [level, times] : {std::pair{"x2", &doubled}, std::pair{"/2", &even}, std::pair{"/2", &odd}})
    if (const double f = fMeasure(*times, found); f > best.f) best = {f, level};
  return best;
}

double offBeatShare(const std::vector<double>& truth, const std::vector<double>& found, double until) {
  if (found.empty() || truth.size() < 2 || until <= found.front()) return 0.0;
  double off = 0.0;
  for (std::size_t i = 0; i + 1 < found.size() && found[i] < until; ++i) {
    const double f = found[i];
    auto next = std::upper_bound(truth.begin(), truth.end(), f);
    if (next == truth.begin() || next == truth.end()) continue;
    const double before = *(next - 1), after = *next, period = after - before;
    const double phase = (f - before) / period;
    const double gap = found[i + 1] - f;
    const double previousGap = i > 0 ? f - found[i - 1] : gap;
    const bool doubled = std::min(gap, previousGap) < 0.7 * period;
    if (!doubled && std::min(phase, 1.0 - phase) >= 0.3) off += std::min({gap, 2 * period, until - f});
  }
  return off / (until - found.front());
}

double rightFrom(const std::vector<double>& truth, const std::vector<double>& found, double from) {
  const std::vector<bool> hit = matched(truth, found);
  int run = 0;
  for (std::size_t i = 0; i < found.size(); ++i) {
    if (found[i] < from) continue;
    run = hit[i] ? run + 1 : 0;
    if (run == 4) return found[i - 3];
  }
  return -1.0;
}

double medianInterval(const std::vector<double>& truth, std::size_t from, std::size_t count) {
  std::vector<double> gaps;
  for (std::size_t i = from + 1; i < std::min(truth.size(), from + count + 1); ++i) gaps.push_back(truth[i] - truth[i - 1]);
  if (gaps.empty()) return 0.0;
  std::nth_element(gaps.begin(), gaps.begin() + static_cast<std::ptrdiff_t>(gaps.size() / 2), gaps.end());
  return gaps[gaps.size() / 2];
}

double tempoChange(const std::vector<double>& truth) {
  for (std::size_t i = 4; i + 4 < truth.size(); ++i) {
    const double before = medianInterval(truth, i - 4, 4), next = medianInterval(truth, i, 4);
    if (before > 0 && next > 0 && std::abs(next / before - 1.0) > 0.08) return truth[i];
  }
  return -1.0;
}

std::vector<double> signedErrorsMs(const std::vector<double>& truth, const std::vector<double>& found) {
  const std::vector<double> t = within(truth, kSkip), f = within(found, kSkip);
  const std::vector<bool> hit = matched(t, f);
  std::vector<double> errors;
  for (std::size_t i = 0; i < f.size(); ++i)
    if (hit[i]) {
      const auto it = std::min_element(t.begin(), t.end(),
                                       [&](double a, double b) { return std::abs(a - f[i]) < std::abs(b - f[i]); });
      errors.push_back(1000.0 * (f[i] - *it));
    }
  return errors;
}

bool tempoRight(double bpm, double truth) {
  for (double level : {1.0, 2.0, 0.5})
    if (std::abs(bpm / (level * truth) - 1.0) <= 0.02) return true;
  return false;
}

double mean(const std::vector<double>& values) {
  double sum = 0;
  for (double v : values) sum += v;
  return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

double quantile(std::vector<double> values, double q) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(q * static_cast<double>(values.size())))];
}

}  // namespace beat_eval
