#!/usr/bin/env python3
"""probe_breakdown.py CLICKS.csv PROBES.txt

Splits each click's latency (clicks.csv of click_latency) into its parts
with the uprobes run_click_latency.sh records in Sonvero (perf script
-F tid,time,event,trace --ns, CLOCK_MONOTONIC, the steady clock of
click_latency):

  capture   click played -> its fragment reaches the reference recorder, a
            listener on the same monitor with Sonvero's fragment size: the
            earliest moment any capture can read it
  wait      that arrival -> the start of the tick that turned it into light
            (Main::Timer1_Timer)
  tick      the tick itself (of which: analysis = its first Bridge::current,
            which also brings the capture up to date)
  handover  tick end -> StreamingClient::SendDmx on the sender thread
  ola       SendDmx -> the frame arrives at the watching client through olad
"""
import bisect
import csv
import math
import sys


def load_events(path):
    events = {}
    for line in open(path):
        parts = line.split()
        if len(parts) < 3:
            continue
        try:
            t = float(parts[1].rstrip(':'))
        except ValueError:
            continue
        name = parts[2].rstrip(':').split(':')[-1].removesuffix('__return')
        events.setdefault(name, []).append(int(round(t * 1e9)))
    for v in events.values():
        v.sort()
    return events


def first_at_or_after(times, t):
    i = bisect.bisect_left(times, t)
    return times[i] if i < len(times) else None


def last_at_or_before(times, t):
    i = bisect.bisect_right(times, t)
    return times[i - 1] if i > 0 else None


def pct(values, p):
    v = sorted(values)
    k = max(1, math.ceil(p / 100 * len(v)))
    return v[k - 1]


def main():
    clicks = [r for r in csv.DictReader(open(sys.argv[1])) if int(r['arrived_ns']) >= 0]
    ev = load_events(sys.argv[2])
    need = ['tick', 'tick_ret', 'current', 'current_ret', 'send_dmx']
    missing = [n for n in need if not ev.get(n)]
    if missing:
        print('probe_breakdown: no events for', ', '.join(missing))
        return 1
    parts = {k: [] for k in ['capture', 'wait', 'tick', 'analysis', 'handover', 'ola', 'total']}
    late_fragment = 0
    for r in clicks:
        played, arrived = int(r['played_ns']), int(r['arrived_ns'])
        recorded = int(r.get('recorded_ns') or -1)
        if recorded < 0:
            continue
        tick = last_at_or_before(ev['tick'], arrived)
        tick_end = first_at_or_after(ev['tick_ret'], tick)
        cur = first_at_or_after(ev['current'], tick)
        cur_end = first_at_or_after(ev['current_ret'], cur)
        send = first_at_or_after(ev['send_dmx'], tick_end)
        if None in (tick, tick_end, cur, cur_end, send):
            continue
        # A tick between the click being played and its fragment arriving
        # could not see it: the fragment cost a whole tick.
        t_between = first_at_or_after(ev['tick'], played)
        if t_between is not None and t_between < recorded:
            late_fragment += 1
        parts['capture'].append(recorded - played)
        parts['wait'].append(tick - recorded)
        parts['tick'].append(tick_end - tick)
        parts['analysis'].append(cur_end - cur)
        parts['handover'].append(send - tick_end)
        parts['ola'].append(arrived - send)
        parts['total'].append(arrived - played)
    n = len(parts['total'])
    print(f'breakdown over {n} of {len(clicks)} clicks (ms; capture can be negative: the null sink hands '
          f'its monitor a block ahead of its clock); in {late_fragment} clicks a tick came between the click '
          f'being played and its fragment arriving, so they waited for the next one')
    print(f'  {"part":<9} {"min":>7} {"p50":>7} {"p99":>7} {"max":>7} {"mean":>7}')
    for k, v in parts.items():
        if not v:
            continue
        ms = [x / 1e6 for x in v]
        print(f'  {k:<9} {min(ms):7.2f} {pct(ms, 50):7.2f} {pct(ms, 99):7.2f} {max(ms):7.2f} {sum(ms) / len(ms):7.2f}')
    ticks = ev['tick']
    if len(ticks) > 1:
        span = (ticks[-1] - ticks[0]) / 1e9
        print(f'event rates: ticks {(len(ticks) - 1) / span:.1f}/s, SendDmx {len(ev["send_dmx"]) / span:.1f}/s')
    return 0


if __name__ == '__main__':
    sys.exit(main())
