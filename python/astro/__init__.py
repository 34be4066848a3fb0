# SPDX-License-Identifier: MIT
"""The Sun's position from the astro library, over numpy arrays.

Angles are degrees here (latitude north positive, longitude east positive), converted to the
library's radians with its factor 0.017453292519444445 and back with 57.29577951471995;
instants are Julian Dates in Universal Time. See docs/python.md.
"""

from collections.abc import Mapping
import datetime
import math
import numbers

import numpy as np

from . import _astro
from ._astro import RangeError

__all__ = ["sun_position", "SunPosition", "sun_events", "SunEvents", "EVENT_KINDS", "jd",
           "calendar", "RangeError", "FIELDS"]

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


# The kinds of sun_events in the library's order; names as sun_event_name spells them.
EVENT_KINDS = (
    "astronomical_dawn",
    "nautical_dawn",
    "civil_dawn",
    "sunrise",
    "transit",
    "sunset",
    "civil_dusk",
    "nautical_dusk",
    "astronomical_dusk",
    "lower_transit",
)


class SunEvents(Mapping):
    """A site's Sun events in time order: four arrays of one length, as attributes or keys.

    kind     the event's name (numpy str array): astronomical_dawn, nautical_dawn,
             civil_dawn, sunrise, transit, sunset, civil_dusk, nautical_dusk,
             astronomical_dusk, lower_transit
    jd_ut    Julian Date, UT (float64)
    azimuth  of the Sun's centre, degrees from the north point through the east, [0, 360)
    height   geometric height of the Sun's centre (no refraction), degrees: the event's
             horizon for rises, sets and twilights; at a transit it tells day from night
    """

    FIELDS = ("kind", "jd_ut", "azimuth", "height")
    __slots__ = FIELDS

    def __init__(self, kind, jd_ut, azimuth, height):
        for name, value in zip(self.FIELDS, (kind, jd_ut, azimuth, height)):
            object.__setattr__(self, name, value)

    def __setattr__(self, name, value):
        raise AttributeError("SunEvents is read-only")

    def __getitem__(self, key):
        if key not in self.FIELDS:
            raise KeyError(key)
        return getattr(self, key)

    def __iter__(self):
        return iter(self.FIELDS)

    def __len__(self):
        return len(self.FIELDS)

    @property
    def count(self):
        """The number of events."""
        return len(self.jd_ut)

    def __repr__(self):
        return f"SunEvents(count={self.count})"


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


def _number(name, value):
    if isinstance(value, (bool, np.bool_)) or not isinstance(value, numbers.Real):
        raise TypeError(f"{name} must be a number, not {type(value).__name__}")
    return float(value)


def _real(name, value, default):
    """value as a float, default for None."""
    return default if value is None else _number(name, value)


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


def _instant(name, value):
    """A Julian Date UT from a number, an ISO date or date-time string, a date or a datetime."""
    if isinstance(value, str):
        try:
            value = datetime.datetime.fromisoformat(value)
        except ValueError:
            raise ValueError(f"{name} is not an ISO date or date-time: {value!r}") from None
    if isinstance(value, datetime.datetime):
        if value.tzinfo is not None:
            value = value.astimezone(datetime.timezone.utc).replace(tzinfo=None)
        seconds = (value.hour * 60 + value.minute) * 60 + value.second + value.microsecond / 1e6
        return _astro.jd(value.year, value.month, value.day + seconds / 86400.0)
    if isinstance(value, datetime.date):
        return _astro.jd(value.year, value.month, float(value.day))
    return _number(name, value)


def sun_events(latitude, longitude, date_from, date_to, *, height=0.0, horizon=None,
               use_site_height=False):
    """Sunrise, sunset, transits and twilights at one site in [date_from, date_to).

    latitude, longitude  degrees, north and east positive (numbers)
    date_from, date_to   each a Julian Date UT (a number), an ISO date or date-time string
                         ("2026-06-09", "2026-06-09T18:30", "2026-06-09T20:30+02:00"), a
                         datetime.date (0h UT) or a datetime.datetime (naive: UT; aware:
                         turned to UT). Dates go through the library's JD, which reads those
                         before 1582 October 16 in the Julian calendar.
    height               metres above sea level, for the dip of the horizon only
    horizon              the Sun's geometric height at sunrise and sunset, degrees; None
                         takes -50 arcminutes (refraction and semi-diameter)
    use_site_height      lower that horizon by the dip of the sea horizon at height

    Returns a SunEvents of numpy arrays (kind names, jd_ut, azimuth, height in degrees) in
    time order. Raises ValueError for NaN bounds or an instant the model cannot place,
    TypeError for arguments of the wrong kind.
    """
    lat = _number("latitude", latitude)
    lon = _number("longitude", longitude)
    jd_from = _instant("date_from", date_from)
    jd_to = _instant("date_to", date_to)
    horizon_deg = _real("horizon", horizon, math.nan)
    kinds, jd_ut, azimuth, heights = _astro.sun_events(
        lat, lon, _real("height", height, 0.0), jd_from, jd_to, horizon_deg,
        _switch("use_site_height", use_site_height))
    return SunEvents(np.array(kinds, dtype="<U17"), jd_ut, azimuth, heights)


def jd(year, month, day):
    """Julian Date of a calendar date: the library's JD.

    year   astronomical numbering (0 is 1 BC); month 1..12; day of the month with the time of
    day as a fraction (1.5 is the 1st at 12h). Dates before 1582 October 16 are read in the
    Julian calendar. Raises ValueError (astro.RangeError) where JD cannot place the date.
    """
    return _astro.jd(_number("year", year), _number("month", month), _number("day", day))


def calendar(jd_ut):
    """Calendar date of a Julian Date: the library's OD, as (year, month, day).

    day carries the time of day as a fraction; year and month are whole numbers (floats).
    NaN gives NaN in all three. Raises ValueError (astro.RangeError) where OD cannot place
    the date (|jd + 0.5| of 2**31 or more).
    """
    return _astro.calendar(_number("jd_ut", jd_ut))
