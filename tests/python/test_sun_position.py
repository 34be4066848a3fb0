# SPDX-License-Identifier: MIT
"""astro.sun_position against the C++ sun_position, its broadcasting, NaN and errors.

The reference is a second path through the same library: astro_sun_reference, a small C++
program that calls sun_position once per line and prints its fields in radians as
hexadecimal floats. The test converts degrees to radians and back itself, with the factors
0.017453292519444445 and 57.29577951471995, so the module's conversions are checked too.
"""

import os
import subprocess
import threading
import time

import numpy as np
import pytest

import astro

DEG_TO_RAD = 0.017453292519444445
RAD_TO_DEG = 57.29577951471995
ANGLES = astro.FIELDS[:-1]


def reference(rows):
    """The C++ sun_position at rows of (jd, lat_deg, lon_deg, prec, nut, refr, p, t)."""
    lines = []
    for jd, lat, lon, prec, nut, refr, pressure, temperature in rows:
        fields = [float(jd).hex(), (lat * DEG_TO_RAD).hex(), (lon * DEG_TO_RAD).hex(),
                  str(int(prec)), str(int(nut)), str(int(refr)),
                  float(pressure).hex(), float(temperature).hex()]
        lines.append(" ".join(fields))
    done = subprocess.run([os.environ["ASTRO_SUN_REFERENCE"]], input="\n".join(lines) + "\n",
                          capture_output=True, text=True, check=True)
    values = np.array([[float.fromhex(v) if v != "nan" else np.nan for v in line.split()]
                       for line in done.stdout.splitlines()])
    assert values.shape == (len(rows), 9)
    values[:, :8] *= RAD_TO_DEG
    return {name: values[:, k] for k, name in enumerate(astro.FIELDS)}


def assert_same_bits(got, want, label=""):
    """Equal bit for bit where want is a number, NaN where want is NaN."""
    got = np.asarray(got, dtype=np.float64)
    want = np.asarray(want, dtype=np.float64)
    assert got.shape == want.shape, label
    nan = np.isnan(want)
    assert np.array_equal(np.isnan(got), nan), label
    mismatch = got[~nan].view(np.uint64) != want[~nan].view(np.uint64)
    assert not mismatch.any(), (
        f"{label}: {mismatch.sum()} differ, first at {np.flatnonzero(mismatch)[:5]}")


def instants_table():
    """Instants from 4000 BC to AD 6000 at sites of every latitude, in runs of one site."""
    rng = np.random.default_rng(20261210)
    fixed = [2451545.0, 2461201.0, 2415020.5, 2488069.5, 2299160.5, 625307.5, 2561117.0]
    jd = np.concatenate([fixed, rng.uniform(260000.0, 3912000.0, 393)])
    sites = np.column_stack([rng.uniform(-90.0, 90.0, 8), rng.uniform(-180.0, 360.0, 8)])
    sites[0] = (50.1, 14.4)
    sites[1] = (90.0, 0.0)
    sites[2] = (-90.0, -75.5)
    site_of = np.repeat(np.arange(8), 50)
    return jd, sites[site_of, 0], sites[site_of, 1]


OPTIONS = [
    ("defaults", {}, (True, True, True, 1013.25, 10.0)),
    ("all off", dict(precession=False, nutation=False, refraction=False),
     (False, False, False, 1013.25, 10.0)),
    ("precession only", dict(nutation=False, refraction=False), (True, False, False, 1013.25, 10.0)),
    ("nutation only", dict(precession=False, refraction=False), (False, True, False, 1013.25, 10.0)),
    ("thin cold air", dict(pressure_hpa=700, temperature_c=-25.5), (True, True, True, 700.0, -25.5)),
    ("air without refraction", dict(refraction=False, pressure_hpa=500.0),
     (True, True, False, 500.0, 10.0)),
]


@pytest.mark.parametrize("label, keywords, switches", OPTIONS, ids=[o[0] for o in OPTIONS])
def test_equals_cpp_bit_for_bit(label, keywords, switches):
    jd, lat, lon = instants_table()
    want = reference([(j, a, o, *switches) for j, a, o in zip(jd, lat, lon)])
    got = astro.sun_position(jd, lat, lon, **keywords)
    for name in astro.FIELDS:
        assert_same_bits(got[name], want[name], f"{label} {name}")
    # Element by element through the scalar path, on a subset.
    for k in range(0, len(jd), 37):
        one = astro.sun_position(float(jd[k]), float(lat[k]), float(lon[k]), **keywords)
        for name in astro.FIELDS:
            assert_same_bits(one[name], want[name][k], f"{label} {name} at {k}")


# RIZAR at JD 2461201.0, 14.4 E, 50.1 N, degrees rounded to 4 decimals, from the chain's
# documented worked example: (switches, AZ from south, HT, HeLong, HA, DE, RA).
WORKED = [
    (False, (28.8130, 60.3990, 78.3102, 14.9791, 22.9183, 77.2922)),
    (True, (28.1284, 60.5634, 78.6814, 14.5777, 22.9524, 77.6937)),
]


@pytest.mark.parametrize("on, want", WORKED, ids=["switches off", "switches on"])
def test_worked_example(on, want):
    p = astro.sun_position(2461201.0, 50.1, 14.4, precession=on, nutation=on, refraction=on)
    got = (p.azimuth_south, p.height, p.ecliptic_longitude, p.hour_angle, p.declination,
           p.right_ascension)
    np.testing.assert_allclose(got, want, rtol=0, atol=0.00005 + 1e-9)
    assert p.azimuth == pytest.approx(p.azimuth_south + 180.0, abs=1e-6)
    assert 0.983 < p.distance < 1.017  # the Earth's orbit, au


def test_broadcasting_shapes():
    jd = 2461200.5 + np.arange(5) / 24.0
    lat = np.array([-33.9, 0.0, 50.1, 78.2])
    lon = 14.4
    cases = [
        ("(N,) with scalars", (jd, 50.1, lon), (5,)),
        ("(N,1) x (1,M)", (jd[:, None], lat[None, :], lon), (5, 4)),
        ("(1,M) x (N,1) x (N,M)", (jd[None, :4], lat[:, None],
                                   np.full((4, 4), -70.25)), (4, 4)),
        ("non-contiguous and Fortran order", (np.asfortranarray(np.tile(jd[::2], (3, 1))),
                                               50.1, lon), (3, 3)),
        ("integers", (np.array([2461201, 2461202]), 50, 14), (2,)),
        ("lists", ([2461201.0, 2461201.5], [50.1, -50.1], 14.4), (2,)),
        ("empty", (np.empty((0, 3)), 50.1, lon), (0, 3)),
    ]
    for label, args, shape in cases:
        got = astro.sun_position(*args)
        assert got.shape == shape, label
        full = np.broadcast_arrays(*[np.asarray(a, dtype=np.float64) for a in args])
        for index in np.ndindex(*shape):
            one = astro.sun_position(*(float(a[index]) for a in full))
            for name in astro.FIELDS:
                field = got[name]
                assert isinstance(field, np.ndarray) and field.dtype == np.float64, label
                assert_same_bits(field[index], one[name], f"{label} {name} {index}")


def test_scalars_give_numpy_scalars():
    for args in [(2461201.0, 50.1, 14.4), (np.float64(2461201.0), 50, np.array(14.4))]:
        p = astro.sun_position(*args)
        assert p.shape == ()
        for name in astro.FIELDS:
            assert type(p[name]) is np.float64
    assert dict(p).keys() == set(astro.FIELDS)
    assert list(p) == list(astro.FIELDS) and len(p) == 9
    with pytest.raises(KeyError):
        p["altitude"]
    with pytest.raises(AttributeError):
        p.height = 0.0


def test_nan_and_out_of_range_give_nan():
    nan = np.nan
    jd = np.array([2461201.0, nan, 2461201.0, 2461201.0, 1e12, np.inf, 2451545.0 + 2e8, 2461202.0])
    lat = np.array([50.1, 50.1, nan, 50.1, 50.1, 50.1, 50.1, 50.1])
    lon = np.array([14.4, 14.4, 14.4, nan, 14.4, 14.4, 14.4, 14.4])
    got = astro.sun_position(jd, lat, lon)
    bad = np.array([False, True, True, True, True, True, True, False])
    want = reference([(j, a, o, True, True, True, 1013.25, 10.0)
                      for j, a, o in zip(jd[~bad], lat[~bad], lon[~bad])])
    # The three instants are ones the C++ call refuses, not merely NaN by chance.
    refused = reference([(j, 50.1, 14.4, True, True, True, 1013.25, 10.0) for j in jd[4:7]])
    for name in astro.FIELDS:
        assert np.isnan(got[name][bad]).all(), name
        assert_same_bits(got[name][~bad], want[name], name)
        assert np.isnan(refused[name]).all(), name
    assert np.isnan(astro.sun_position(nan, 50.1, 14.4).height)


BAD_ARGUMENTS = [
    ("a string instant", ("2461201.0", 50.1, 14.4), {}, TypeError),
    ("strings in a list", (2461201.0, ["50.1"], 14.4), {}, TypeError),
    ("None as longitude", (2461201.0, 50.1, None), {}, TypeError),
    ("complex latitude", (2461201.0, 50.1 + 1j, 14.4), {}, TypeError),
    ("booleans", (2461201.0, True, 14.4), {}, TypeError),
    ("objects", (2461201.0, [object()], 14.4), {}, TypeError),
    ("ragged list", ([[1.0, 2.0], [3.0]], 50.1, 14.4), {}, ValueError),
    ("shapes that do not broadcast", (np.zeros(3), np.zeros(4), 14.4), {}, ValueError),
    ("(2,3) against (2,)", (np.zeros((2, 3)), np.zeros(2), 14.4), {}, ValueError),
    ("unknown keyword", (2461201.0, 50.1, 14.4), dict(refractoin=False), TypeError),
    ("option given by position", (2461201.0, 50.1, 14.4, 0.0), {}, TypeError),
    ("missing longitude", (2461201.0, 50.1), {}, TypeError),
    ("switch as an integer", (2461201.0, 50.1, 14.4), dict(refraction=1), TypeError),
    ("switch as a string", (2461201.0, 50.1, 14.4), dict(nutation="no"), TypeError),
    ("pressure as a string", (2461201.0, 50.1, 14.4), dict(pressure_hpa="1000"), TypeError),
    ("pressure as an array", (2461201.0, 50.1, 14.4), dict(pressure_hpa=np.ones(2)), TypeError),
    ("height as a string", (2461201.0, 50.1, 14.4), dict(height="high"), TypeError),
]


@pytest.mark.parametrize("label, args, keywords, error", BAD_ARGUMENTS,
                         ids=[b[0] for b in BAD_ARGUMENTS])
def test_bad_arguments_raise(label, args, keywords, error):
    with pytest.raises(error) as raised:
        astro.sun_position(*args, **keywords)
    assert str(raised.value)


def test_calendar_round_trip():
    assert astro.jd(2026, 6, 9.5) == 2461201.0
    assert astro.jd(2000, 1, 1.5) == 2451545.0
    assert astro.calendar(2461201.0) == (2026.0, 6.0, 9.5)
    for value in [2299160.5, 2451544.5, 2461200.75]:
        assert astro.jd(*astro.calendar(value)) == pytest.approx(value, abs=1e-6)
    assert np.isnan(astro.calendar(float("nan"))).all()
    with pytest.raises(ValueError, match="out of the supported range"):
        astro.calendar(1e10)
    with pytest.raises(astro.RangeError):
        astro.jd(1e10, 1, 1)
    with pytest.raises(TypeError):
        astro.jd("2026", 6, 9)


def test_the_gil_is_released_while_the_chain_runs():
    # A thread runs the chain over 300,000 instants (about 0.3 s or more); meanwhile this
    # thread keeps stamping the clock. Were the GIL held through the chain, one gap between
    # stamps would last nearly the whole call.
    jd = 2461200.5 + np.arange(300_000) / 1440.0
    worker = threading.Thread(target=astro.sun_position, args=(jd, 50.1, 14.4))
    start = time.perf_counter()
    worker.start()
    stamps = [start]
    while worker.is_alive():
        stamps.append(time.perf_counter())
    worker.join()
    duration = stamps[-1] - start
    assert duration > 0.1
    assert np.diff(stamps).max() < 0.5 * duration


def reference_events(queries):
    """The C++ sun_events for (lat_deg, lon_deg, height, jd_from, jd_to, horizon_deg or None,
    use_site_height) queries: a list of (names, jd, azimuth_deg, height_deg) or "error"."""
    lines = []
    for lat, lon, height, jd_from, jd_to, horizon, dip in queries:
        lines.append(" ".join([(lat * DEG_TO_RAD).hex(), (lon * DEG_TO_RAD).hex(),
                               float(height).hex(), float(jd_from).hex(), float(jd_to).hex(),
                               "default" if horizon is None else (horizon * DEG_TO_RAD).hex(),
                               str(int(dip))]))
    done = subprocess.run([os.environ["ASTRO_SUN_REFERENCE"], "events"],
                          input="\n".join(lines) + "\n", capture_output=True, text=True,
                          check=True)
    results, current = [], []
    for line in done.stdout.splitlines():
        if line in ("end", "error"):
            results.append(line if line == "error" else current)
            current = []
            continue
        name, *numbers = line.split()
        current.append((name, *(float.fromhex(v) for v in numbers)))
    assert len(results) == len(queries)
    return results


EVENT_QUERIES = [
    ("Prague, two June days", (50.1, 14.4, 0.0, 2461200.5, 2461202.5, None, False)),
    ("Tromso, midsummer week", (69.65, 18.96, 0.0, 2461208.5, 2461215.5, None, False)),
    ("Tromso, midwinter week", (69.65, 18.96, 0.0, 2461030.5, 2461037.5, None, False)),
    ("Quito, a month", (-0.22, -78.51, 2850.0, 2461100.5, 2461130.5, None, True)),
    ("McMurdo, a year", (-77.85, 166.67, 10.0, 2461041.5, 2461406.5, -1.0, False)),
    ("an empty range", (50.1, 14.4, 0.0, 2461202.5, 2461200.5, None, False)),
]


@pytest.mark.parametrize("label, query", EVENT_QUERIES, ids=[q[0] for q in EVENT_QUERIES])
def test_sun_events_equal_cpp_bit_for_bit(label, query):
    (want,) = reference_events([query])
    lat, lon, height, jd_from, jd_to, horizon, dip = query
    got = astro.sun_events(lat, lon, jd_from, jd_to, height=height, horizon=horizon,
                           use_site_height=dip)
    assert got.count == len(want)
    if label != "an empty range":
        assert got.count > 0
    assert got.kind.dtype.kind == "U" and set(got.kind) <= set(astro.EVENT_KINDS)
    assert list(got.kind) == [w[0] for w in want]
    assert_same_bits(got.jd_ut, [w[1] for w in want], label)
    assert_same_bits(got["azimuth"], [w[2] * RAD_TO_DEG for w in want], label)
    assert_same_bits(got.height, [w[3] * RAD_TO_DEG for w in want], label)
    assert np.all(np.diff(got.jd_ut) >= 0)


def test_sun_events_dates_as_text_dates_and_julian_dates():
    import datetime
    want = astro.sun_events(50.1, 14.4, 2461200.5, 2461201.5)
    assert list(want.kind) == ["nautical_dawn", "civil_dawn", "sunrise", "transit", "sunset",
                               "civil_dusk", "nautical_dusk", "lower_transit"]
    utc_plus_2 = datetime.timezone(datetime.timedelta(hours=2))
    for date_from, date_to in [
            ("2026-06-09", "2026-06-10"),
            ("2026-06-09T00:00:00", "2026-06-10T00:00"),
            ("2026-06-09T02:00+02:00", "2026-06-10T02:00+02:00"),
            (datetime.date(2026, 6, 9), datetime.date(2026, 6, 10)),
            (datetime.datetime(2026, 6, 9), datetime.datetime(2026, 6, 10, 2, tzinfo=utc_plus_2))]:
        got = astro.sun_events(50.1, 14.4, date_from, date_to)
        assert np.array_equal(got.jd_ut, want.jd_ut), (date_from, date_to)
    noon = astro.sun_events(50.1, 14.4, "2026-06-09T12:00", 2461201.5)
    assert list(noon.kind) == ["sunset", "civil_dusk", "nautical_dusk", "lower_transit"]


@pytest.mark.parametrize("args, keywords, error", [
    ((50.1, 14.4, float("nan"), 2461201.5), {}, ValueError),
    ((50.1, 14.4, "9 June 2026", 2461201.5), {}, ValueError),
    ((50.1, 14.4, None, 2461201.5), {}, TypeError),
    (("50.1", 14.4, 2461200.5, 2461201.5), {}, TypeError),
    ((np.array([50.1, 40.0]), 14.4, 2461200.5, 2461201.5), {}, TypeError),
    ((50.1, 14.4, 2461200.5, 2461201.5), dict(horizon="low"), TypeError),
    ((50.1, 14.4, 2461200.5, 2461201.5), dict(use_site_height=1), TypeError),
    ((50.1, 14.4, 2461200.5, 2461201.5), dict(refraction=True), TypeError),
], ids=["NaN bound", "not ISO", "None bound", "string latitude", "array latitude",
        "string horizon", "integer switch", "unknown keyword"])
def test_sun_events_bad_arguments_raise(args, keywords, error):
    with pytest.raises(error):
        astro.sun_events(*args, **keywords)
