# SPDX-FileCopyrightText: 2026 TavixQtBase contributors
#
# SPDX-License-Identifier: BSD-3-Clause

"""The frame-rate statistic and its companions."""

import time

import pytest

import tavixqtbase as t


def test_constants_match_the_cpp_ones():
    assert (t.FpsStatistic.DefaultStallTimeout, t.FpsStatistic.MaxNumSamples, t.FpsStatistic.MinimumSpan) == (
        10.5, 1000000, 1e-3)


def test_results_are_tuples_and_rates_come_from_the_interval():
    statistic = t.FpsStatistic(10)
    assert statistic.computeResult() == (False, 0.0, 0)
    assert statistic.removeAllButLastTwoSamples() == (False, 0.0)
    assert statistic.setStallTimeout(float("nan")) is False and statistic.stallTimeout() == 10.5
    assert statistic.addSample(0) is True
    time.sleep(0.01)  # only makes the interval longer than MinimumSpan; its length is not tested
    statistic.addSample(5000)
    has_result, fps, amount_per_second = statistic.computeResult()
    assert has_result and fps > 0
    assert amount_per_second == pytest.approx(5000 * fps, abs=1)


@pytest.mark.parametrize(
    "values, removed, mean, sum_squared", [([], [], None, 0.0), ([1.0, 2.0, 6.0, 9.0], [9.0], 3.0, 14.0)]
)
def test_flexi_mean(values, removed, mean, sum_squared):
    flexi = t.FlexiMean()
    for value in values:
        flexi.add(value)
    for value in removed:
        flexi.remove(value)
    assert flexi.getMeanUnsafe() == pytest.approx(mean)
    assert flexi.getSumSquaredDiff() == pytest.approx(sum_squared)
    assert flexi.getNumValues() == len(values) - len(removed)
    assert t.StopWatch.gettime() > 1.7e9
