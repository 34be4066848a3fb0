# SPDX-License-Identifier: MIT
"""The Sun's position from the astro library, over numpy arrays.

Angles are degrees here (latitude north positive, longitude east positive), converted to the
library's radians with its factor 0.017453292519444445 and back with 57.29577951471995;
instants are Julian Dates in Universal Time. See docs/python.md.
"""

from collections.abc import Mapping
import numbers

import numpy as np

from . import _astro
from ._astro import RangeError

__all__ = ["sun_position", "SunPosition", "jd", "calendar", "RangeError", "FIELDS"]

FIELDS = (
    "azimuth",
    "azimuth_south",
    "height",
    "right_ascension",
    "declination",
    "hour_angle",
    "ecliptic_longitude",
    "ecliptic_latitude",
    "distance",
)

# SunOptions' air for refraction, taken when pressure_hpa or temperature_c is None.
DEFAULT_PRESSURE_HPA = 1013.25
DEFAULT_TEMPERATURE_C = 10.0


class SunPosition(Mapping):
    """The Sun seen from the sites at the instants, one float64 array (or numpy scalar) a field.

    Read a field as an attribute (``p.height``) or as a key (``p["height"]``); ``dict(p)``
    gives all nine. Degrees, except ``distance`` in astronomical units:

    azimuth             from the north point through the east, [0, 360)
    azimuth_south       from the south point through the west (the table's AZ), [0, 360]
    height              above the horizon, refraction included when switched on
    right_ascension     [0, 360]; declination [-90, 90]: of the date with precession (and
    declination         nutation), else of J2000.0 turned by the mean obliquity of the date
    hour_angle          westward, local mean sidereal time minus right ascension, [0, 360]
    ecliptic_longitude  geocentric, geometric, [0, 360]; ecliptic_latitude likewise
    ecliptic_latitude
    distance            Sun-Earth distance, au
    """

    __slots__ = FIELDS

    def __init__(self, values):
        for name, value in zip(FIELDS, values, strict=True):
            object.__setattr__(self, name, value)

    def __setattr__(self, name, value):
        raise AttributeError("SunPosition is read-only")

    def __getitem__(self, key):
        if key not in FIELDS:
            raise KeyError(key)
        return getattr(self, key)

    def __iter__(self):
        return iter(FIELDS)

    def __len__(self):
        return len(FIELDS)

    @property
    def shape(self):
        """The broadcast shape of the arguments (() for scalars)."""
        return np.shape(self.height)

    def __repr__(self):
        if self.shape == ():
            inner = ", ".join(f"{name}={float(getattr(self, name))!r}" for name in FIELDS)
        else:
            inner = f"shape={self.shape}"
        return f"SunPosition({inner})"


def _float_array(name, value):
    """value as a float64 array; TypeError unless it holds real numbers."""
    if isinstance(value, (str, bytes)):
        raise TypeError(f"{name} must be a number or an array of numbers, not {type(value).__name__}")
    try:
        array = np.asarray(value)
    except ValueError as error:  # ragged nested sequences
        raise ValueError(f"{name} is not a regular array: {error}") from None
    if array.dtype.kind not in "iuf":
        raise TypeError(
            f"{name} must be a number or an array of numbers, not {type(value).__name__}"
            f" of dtype {array.dtype}")
    return array.astype(np.float64, copy=False)


def _switch(name, value):
    if not isinstance(value, (bool, np.bool_)):
        raise TypeError(f"{name} must be True or False, not {type(value).__name__}")
    return bool(value)


def _real(name, value, default):
    if value is None:
        return default
    if isinstance(value, (bool, np.bool_)) or not isinstance(value, numbers.Real):
        raise TypeError(f"{name} must be a number or None, not {type(value).__name__}")
    return float(value)


def sun_position(jd_ut, latitude, longitude, *, height=0.0, precession=True, nutation=True,
                 refraction=True, pressure_hpa=None, temperature_c=None):
    """The Sun's position at instants and sites, broadcast together by numpy's rules.

    jd_ut       Julian Date, Universal Time (also the dynamical time of the series)
    latitude    geodetic latitude, degrees, north positive
    longitude   degrees, east positive
    height      metres above sea level, a number; the position does not depend on it (no
                parallax is applied)
    precession, nutation, refraction
                the corrections, True or False each
    pressure_hpa, temperature_c
                air for refraction, numbers; None takes 1013.25 hPa and 10 degrees C

    Returns a SunPosition whose fields are float64 arrays of the broadcast shape; when every
    argument is a scalar (or a 0-d array) they are numpy float64 scalars, as numpy's own
    functions return. Every field equals the C++ sun_position's bit for bit (angles times
    57.29577951471995). An element with NaN in any argument, or at an instant the model
    cannot place (beyond about 150,000 years from J2000.0, or a Julian Date too large for the
    sidereal time), is NaN in every field: nothing is raised for it.

    Raises TypeError for arguments that are not numbers (or arrays of them), for unknown
    keywords and for switches that are not booleans, ValueError for shapes that do not
    broadcast.
    """
    jd_array = _float_array("jd_ut", jd_ut)
    lat_array = _float_array("latitude", latitude)
    lon_array = _float_array("longitude", longitude)
    _real("height", height, 0.0)
    switches = (_switch("precession", precession), _switch("nutation", nutation),
                _switch("refraction", refraction))
    pressure = _real("pressure_hpa", pressure_hpa, DEFAULT_PRESSURE_HPA)
    temperature = _real("temperature_c", temperature_c, DEFAULT_TEMPERATURE_C)
    try:
        arrays = np.broadcast_arrays(jd_array, lat_array, lon_array)
    except ValueError:
        raise ValueError(
            "jd_ut, latitude and longitude do not broadcast together: shapes "
            f"{jd_array.shape}, {lat_array.shape}, {lon_array.shape}") from None
    fields = _astro.sun_position(*arrays, *switches, pressure, temperature)
    if arrays[0].ndim == 0:
        fields = [field[()] for field in fields]
    return SunPosition(fields)


def jd(year, month, day):
    """Julian Date of a calendar date: the library's JD.

    year   astronomical numbering (0 is 1 BC); month 1..12; day of the month with the time of
    day as a fraction (1.5 is the 1st at 12h). Dates before 1582 October 16 are read in the
    Julian calendar. Raises ValueError (astro.RangeError) where JD cannot place the date.
    """
    return _astro.jd(_real("year", year, None), _real("month", month, None),
                     _real("day", day, None))


def calendar(jd_ut):
    """Calendar date of a Julian Date: the library's OD, as (year, month, day).

    day carries the time of day as a fraction; year and month are whole numbers (floats).
    NaN gives NaN in all three. Raises ValueError (astro.RangeError) where OD cannot place
    the date (|jd + 0.5| of 2**31 or more).
    """
    return _astro.calendar(_real("jd_ut", jd_ut, None))
