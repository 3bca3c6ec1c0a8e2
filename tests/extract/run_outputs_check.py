#!/usr/bin/python3
"""Checks the files of a version 3 or 4 run of corvane-extract against each other, as a user
would open them: the netCDF file (through netcdf_check.py) and the GeoJSON file against
values.csv, anomalies.csv, annual.csv and stations.csv, and manifest.json against every file
written. With --annual alone, only annual.csv against the netCDF file's annual values (of a
run of any version).

usage: run_outputs_check.py OUT_DIR FILE.nc FILE.geojson
       run_outputs_check.py --annual OUT_DIR FILE.nc
"""
import csv
import hashlib
import json
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import netcdf_check  # noqa: E402

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def rows_of(path):
    with open(path, newline="") as f:
        return list(csv.DictReader(f))


def netcdf_inputs(out_dir, scratch):
    """values.csv and stations.csv in the layout netcdf_check.py reads."""
    anomalies = {}
    if os.path.exists(os.path.join(out_dir, "anomalies.csv")):
        anomalies = {(r["series"], r["year"], r["month"]): r["anomaly"] for r in rows_of(os.path.join(out_dir, "anomalies.csv"))}
    values = os.path.join(scratch, "values.csv")
    with open(values, "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["series", "year", "month", "value", "dmflag", "qcflag", "dsflag", "trace", "anomaly"])
        for r in rows_of(os.path.join(out_dir, "values.csv")):
            key = (r["station"], r["year"], r["month"])
            w.writerow([r["station"], r["year"], r["month"], r["value_degC"], r["dmflag"], r["qcflag"], r["dsflag"],
                        0, anomalies.get(key, "")])
    stations = os.path.join(scratch, "stations.csv")
    with open(stations, "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["id", "name", "country", "lat", "lon", "elevation", "distance_km"])
        for r in rows_of(os.path.join(out_dir, "stations.csv")):
            w.writerow([r["id"], r["name"], r["country_name"], r["latitude"], r["longitude"], r["elevation"],
                        r.get("distance_km", "")])
    return values, stations


def check_flag_values(nc):
    """Every flag byte the file holds is one its flag_values names (with a meaning)."""
    import netCDF4
    import numpy as np
    raw = netCDF4.Dataset(nc)
    for name in raw.variables:
        var = raw[name]
        if "flag_values" not in var.ncattrs() or var.dtype != np.int8:
            continue
        held = set(int(v) for v in np.unique(var[:].compressed()))
        named = set(int(v) for v in np.atleast_1d(var.flag_values))
        check(held <= named, "%s holds %s, which flag_values lacks" % (name, sorted(held - named)))


def check_geojson(out_dir, path):
    stations = rows_of(os.path.join(out_dir, "stations.csv"))
    with open(path) as f:
        doc = json.load(f)
    check(doc["type"] == "FeatureCollection", "a FeatureCollection")
    features = doc["features"]
    check(len(features) == len(stations), "%d features for %d stations" % (len(features), len(stations)))
    for feature, st in zip(features, stations):
        p, g = feature["properties"], feature["geometry"]
        check(g["type"] == "Point" and g["coordinates"] == [float(st["longitude"]), float(st["latitude"])],
              "coordinates of " + st["id"] + " in longitude, latitude order")
        check(p["id"] == st["id"] and p["name"] == st["name"], "id and name of " + st["id"])
        check(p["elevation"] == (float(st["elevation"]) if st["elevation"] else None), "elevation of " + st["id"])
        check((p["first_year"], p["last_year"], p["values"]) ==
              (int(st["first_year"]), int(st["last_year"]), int(st["values"])), "years and values of " + st["id"])


def check_annual(out_dir, nc):
    """The netCDF file's <name>_annual and <name>_annual_months over (timeseries, year) hold
    annual.csv, row for row, and nothing else."""
    import numpy as np
    import xarray
    ds = xarray.open_dataset(nc)
    names = [v for v in ds.data_vars if v.endswith("_annual")]
    check(len(names) == 1, "one annual variable, not %s" % names)
    if len(names) != 1:
        return
    values, months = ds[names[0]].values, ds[names[0] + "_months"].values
    check(ds[names[0]].dims == ("timeseries", "year"), "annual values over (timeseries, year)")
    series = {str(s): i for i, s in enumerate(ds["station_id"].values)}
    years = {int(y): j for j, y in enumerate(ds["year"].values)}
    check(list(years) == list(range(min(years), max(years) + 1)) if years else True, "every year in its range")
    rows = rows_of(os.path.join(out_dir, "annual.csv"))
    check(int(np.isfinite(values).sum()) == len(rows), "%d annual values for %d rows of annual.csv" %
          (int(np.isfinite(values).sum()), len(rows)))
    for r in rows:
        cell = (series[r["series"]], years[int(r["year"])])
        check(values[cell] == np.float32(float(r["value"])) and months[cell] == int(r["months"]),
              "%s %s: %s (%s months) in the file, %s (%s) in annual.csv" %
              (r["series"], r["year"], values[cell], months[cell], r["value"], r["months"]))


def check_manifest(out_dir, placed):
    with open(os.path.join(out_dir, "manifest.json")) as f:
        manifest = json.load(f)
    listed = {os.path.normpath(os.path.join(out_dir, o["path"])): o for o in manifest["outputs"]}
    written = {os.path.normpath(os.path.join(out_dir, n)) for n in os.listdir(out_dir) if n != "manifest.json"}
    written |= {os.path.normpath(p) for p in placed}
    check(set(listed) == written, "the manifest lists %s, the run wrote %s" % (sorted(listed), sorted(written)))
    for path, o in listed.items():
        with open(path, "rb") as f:
            data = f.read()
        check(o["size"] == len(data) and o["sha256"] == hashlib.sha256(data).hexdigest(), "size and checksum of " + path)
    check(manifest["exit_status"] == 0, "exit status 0")


def main(out_dir, nc, geojson):
    with tempfile.TemporaryDirectory() as scratch:
        values, stations = netcdf_inputs(out_dir, scratch)
        status = netcdf_check.main(nc, values, stations)
    check(status == 0, "the netCDF file matches values.csv and stations.csv")
    check_flag_values(nc)
    check_geojson(out_dir, geojson)
    if os.path.exists(os.path.join(out_dir, "annual.csv")):
        check_annual(out_dir, nc)
    check_manifest(out_dir, [nc, geojson])
    for f in failures:
        print("run_outputs_check:", f)
    return 1 if failures else 0


def main_annual(out_dir, nc):
    check_annual(out_dir, nc)
    for f in failures:
        print("run_outputs_check:", f)
    return 1 if failures else 0


if __name__ == "__main__":
    if sys.argv[1] == "--annual":
        sys.exit(main_annual(*sys.argv[2:4]))
    sys.exit(main(*sys.argv[1:4]))
