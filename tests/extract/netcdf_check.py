#!/usr/bin/python3
"""Reads a netCDF file of corvane-extract with xarray and netCDF4, as a user would, and
checks it against the rows the test handed the writer: the CF attributes, the dimensions
of the contiguous ragged array, every time and its bounds, every value, flag and anomaly.

usage: netcdf_check.py FILE.nc VALUES.csv STATIONS.csv
VALUES.csv: series,year,month,value,dmflag,qcflag,dsflag,trace,anomaly (value and anomaly as
exact decimals, empty when missing); STATIONS.csv: id,name,country,lat,lon,elevation,distance_km.
"""
import csv
import sys

import netCDF4
import numpy as np
import pandas as pd
import xarray as xr

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def main(path, values_path, stations_path):
    rows = list(csv.DictReader(open(values_path)))
    stations = {r["id"]: r for r in csv.DictReader(open(stations_path))}
    raw = netCDF4.Dataset(path)
    check(raw.data_model == "NETCDF4", "netCDF-4 file")
    check(raw.Conventions == "CF-1.11", "Conventions")
    check(raw.featureType == "timeSeries", "featureType")
    for name in ("title", "source", "history", "references"):
        check(name in raw.ncattrs() and getattr(raw, name), "global attribute " + name)
    check(raw.dimensions["obs"].isunlimited(), "obs is the unlimited dimension")
    check(raw["station_id"].cf_role == "timeseries_id", "cf_role")
    check(raw["row_size"].sample_dimension == "obs", "sample_dimension")
    check(raw["alt"].standard_name == "surface_altitude", "alt standard_name")
    check(raw["time"].calendar == "standard" and raw["time"].units.startswith("days since 1700-01-01"), "time units")
    check(raw["time"].bounds == "time_bnds", "time bounds")
    value_name = [v for v in raw.variables if "cell_methods" in raw[v].ncattrs() and not v.endswith(("_anomaly", "_annual"))][0]
    value = raw[value_name]
    check(value.dtype == np.float32, "values are floats")
    check("_FillValue" in value.ncattrs() and "comment" in value.ncattrs(), "value _FillValue and comment")
    for flag in getattr(value, "ancillary_variables", "").split():
        var = raw[flag]
        check(var.dtype == np.int8, flag + " is a byte variable")
        check(len(var.flag_values) == len(var.flag_meanings.split()), flag + ": a meaning for every value")
        check(all(w.replace("_", "").isalnum() for w in var.flag_meanings.split()), flag + ": meanings are words")

    ds = xr.open_dataset(path)
    check(ds.sizes["obs"] == len(rows), "obs has %d rows, expected %d" % (ds.sizes["obs"], len(rows)))
    series = list(dict.fromkeys(r["series"] for r in rows))
    check(list(ds["station_id"].values) == series, "series in file order")
    sizes = [sum(1 for r in rows if r["series"] == s) for s in series]
    check(list(ds["row_size"].values) == sizes, "row_size")
    times = pd.to_datetime(ds["time"].values)
    bounds = pd.to_datetime(ds["time_bnds"].values.ravel()).values.reshape(-1, 2)
    decimals = None
    for i, r in enumerate(rows):
        year, month = int(r["year"]), int(r["month"])
        start = pd.Timestamp(year, month, 1)
        end = pd.Timestamp(year + (month == 12), month % 12 + 1, 1)
        check(times[i] == start + (end - start) / 2, "time of row %d" % i)
        check(bounds[i][0] == start and bounds[i][1] == end, "bounds of row %d" % i)
        got = ds[value_name].values[i]
        if r["value"]:
            check(got == np.float32(float(r["value"])), "value of row %d: %r, expected %s" % (i, got, r["value"]))
        else:
            check(np.isnan(got), "row %d is missing" % i)
        for column, suffix in (("dmflag", "_dmflag"), ("qcflag", "_qcflag"), ("dsflag", "_dsflag")):
            if value_name + suffix in ds:
                letter = r[column]
                code = ord(letter) if letter.strip() else 0
                check(int(raw[value_name + suffix][i]) == code, "%s of row %d" % (column, i))
        if value_name + "_trace" in ds:
            check(int(raw[value_name + "_trace"][i]) == int(r["trace"]), "trace of row %d" % i)
        if value_name + "_anomaly" in ds:
            a = ds[value_name + "_anomaly"].values[i]
            if r["anomaly"]:
                check(a == np.float32(float(r["anomaly"])), "anomaly of row %d: %r, expected %s" % (i, a, r["anomaly"]))
            else:
                check(np.isnan(a), "anomaly of row %d is missing" % i)
    for i, s in enumerate(series):
        st = stations[s[:11]]
        check(ds["station_name"].values[i] == st["name"], "name of series " + s)
        check(ds["country"].values[i] == st["country"], "country of series " + s)
        check(float(ds["lat"].values[i]) == float(st["lat"]) and float(ds["lon"].values[i]) == float(st["lon"]), "coordinates of " + s)
        alt = ds["alt"].values[i]
        check(np.isnan(alt) if not st["elevation"] else alt == np.float32(float(st["elevation"])), "alt of " + s)
        if st["distance_km"]:
            check(ds["distance_km"].values[i] == np.float32(float(st["distance_km"])), "distance of " + s)
        else:
            check("distance_km" not in ds, "no distance_km without --near")
    for f in failures:
        print("netcdf_check:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:4]))
