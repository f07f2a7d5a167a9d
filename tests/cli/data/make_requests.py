#!/usr/bin/env python3
"""Writes a batch of flash requests (JSON Lines) for the stored-answer comparison.

    make_requests.py --seed 16 --count 2500 [--examples DIR] > requests.jsonl

The mixtures are drawn from the component table (data/components.csv) in the way process
streams are made up: natural gases, refinery light ends, aromatics, air and syngas, polar
solvents, with now and then a petroleum cut given by its own data. Every flash type and every
equation of state occurs, with and without interaction parameters, and a few requests are
broken on purpose so that error answers are compared too. With --examples the lines of the
example batches (and the single example document, on one line) come first.
"""

import argparse
import csv
import json
import os
import random
import sys

EQUATIONS = ["RK", "SRK", "SRK-78 (API)", "PR", "PR-78"]
FLASHES = ["TP", "BUBP", "BUBT", "DEWP", "DEWT", "TV", "PV"]

FAMILIES = {
    "natural gas": ["NITROGEN", "CARBON DIOXIDE", "HYDROGEN SULFIDE", "METHANE", "ETHANE",
                    "PROPANE", "ISOBUTANE", "n-BUTANE", "ISOPENTANE", "n-PENTANE", "n-HEXANE",
                    "n-HEPTANE", "n-OCTANE", "n-NONANE", "n-DECANE"],
    "light ends": ["HYDROGEN", "METHANE", "ETHYLENE", "ETHANE", "PROPYLENE", "PROPANE",
                   "1-BUTENE", "ISOBUTANE", "n-BUTANE", "ISOPENTANE", "n-PENTANE", "BENZENE"],
    "aromatics": ["BENZENE", "TOLUENE", "ETHYLBENZENE", "o-XYLENE", "m-XYLENE", "p-XYLENE",
                  "CYCLOHEXANE", "n-HEXANE", "n-HEPTANE", "n-PROPYLBENZENE"],
    "air and syngas": ["NITROGEN", "OXYGEN", "ARGON", "CARBON MONOXIDE", "CARBON DIOXIDE",
                       "HYDROGEN", "METHANE", "WATER"],
    "polar": ["WATER", "METHANOL", "ETHANOL", "ACETONE", "AMMONIA", "SULFUR DIOXIDE",
              "CARBON DIOXIDE", "PROPANE"],
    "heavy": ["METHANE", "ETHANE", "PROPANE", "n-BUTANE", "n-HEXANE", "n-OCTANE", "n-DECANE",
              "n-UNDECANE", "n-DODECANE", "NEOPENTANE"],
}

# Ordinals of the component table (ordinal k is column k - 1 of the CSV).
FLASH_FIELDS = {"MW": 2, "Tc_F": 3, "Pc_psia": 4, "Vc": 5, "Zc": 6, "Tb_F": 7, "omega": 17}
VP_BASE = 19


def read_table(path):
    rows = {}
    with open(path, newline="") as handle:
        for record in csv.DictReader(handle):
            rows[record["COMP"]] = record
    return rows


def cell(row, ordinal):
    text = row[str(ordinal - 1)]
    return float(text) if text != "" else None


def rounded_fractions(rng, n):
    weights = [rng.random() ** 2 + 1e-3 for _ in range(n)]
    if n > 1 and rng.random() < 0.15:
        weights[rng.randrange(n)] = 0.0  # a component absent from the feed
    total = sum(weights)
    z = [round(w / total, 6) for w in weights]
    largest = max(range(n), key=lambda i: z[i])
    z[largest] = round(z[largest] + 1.0 - sum(z), 6)
    return z


def pseudo_cut(rng, table, index):
    """A petroleum cut given by its own flash data (no coefficient sets beyond the vapour
    pressure), based on a normal alkane and shifted a little."""
    base = table[rng.choice(["n-HEPTANE", "n-OCTANE", "n-NONANE", "n-DECANE"])]
    scale = 1.0 + rng.uniform(-0.03, 0.03)
    component = {"name": "CUT %d" % index}
    for key, ordinal in FLASH_FIELDS.items():
        value = cell(base, ordinal)
        if key in ("MW", "Vc"):
            value *= scale
        component[key] = round(value, 6)
    component["vp"] = {
        "code": int(cell(base, VP_BASE + 7)),
        "C": [cell(base, VP_BASE + k) for k in range(5)],
        "Tmin_K": cell(base, VP_BASE + 5),
        "Tmax_K": cell(base, VP_BASE + 6),
    }
    return component


def interactions(rng, n):
    kij = [[0.0] * n for _ in range(n)]
    for i in range(n):
        for j in range(i + 1, n):
            value = round(rng.uniform(-0.02, 0.15), 4) if rng.random() < 0.6 else 0.0
            kij[i][j] = kij[j][i] = value
    return kij


def request(rng, table):
    family = FAMILIES[rng.choice(list(FAMILIES))]
    if rng.random() < 0.05:
        names = rng.sample(sorted(table), 25)  # the largest mixture the program takes
    else:
        n = min(len(family), rng.choice([1, 2, 2, 3, 4, 5, 6, 8, 10, 12]))
        names = rng.sample(family, n)
    components = [{"name": name} for name in names]
    if len(components) < 25 and rng.random() < 0.1:
        components.append(pseudo_cut(rng, table, 7))
    if rng.random() < 0.05:
        components[0]["omega"] = round(cell(table[names[0]], 17) * 1.05, 5)
    n = len(components)
    flash = rng.choice(FLASHES)
    out = {"eos": rng.choice(EQUATIONS), "flash": flash}
    if flash in ("TP", "BUBP", "DEWP", "TV"):
        out["T_F"] = round(rng.uniform(-200.0, 400.0), 2)
    if flash in ("TP", "BUBT", "DEWT", "PV"):
        out["P_psia"] = round(10 ** rng.uniform(1.0, 3.3), 2)
    if flash in ("TV", "PV"):
        out["vf"] = round(rng.random(), 4)
    out["components"] = components
    out["z"] = rounded_fractions(rng, n)
    choice = rng.random()
    if choice < 0.25:
        out["estimate_kij"] = True
    elif choice < 0.5:
        out["kij"] = interactions(rng, n)
    return out


BROKEN = [
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], '
    '"z": [1.0], "extra": [1, 2, {"a": null}]}',
    '{"eos": "XX", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TQ", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": -500, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 0, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "vf": 5, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}, {"name": "ETHANE"}], "z": [0.5, 0.6]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}, {"name": "ETHANE"}], "z": [0.5]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}, {"name": "ETHANE"}], "z": [0.5, -0.5]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}, {"name": "ETHANE"}], "z": [0.5, "x"]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "UNOBTAINIUM"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [], "z": []}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1], "kij": [[0, 1]]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1], "kij": [["a"]]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1], "estimate_kij": 1}',
    '{"eos": "PR", "flash": "TP", "T_F": 1e400, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE", "Pc_psia": -1}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"MW": 16}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40 "P_psia": 500}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1]} x',
    '[1, 2, 3]',
    '"PR"',
    '{"eos": "PR", // a comment\n "flash": "TP"}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "T_F": null, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "components": [{"name": "ETHANE"}], "z": [1]}',
    '{"eos": "P\\u0052", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1], "note": "caf\u00e9"}',
    '{"eos": "PR", "flash": "TP", "T_F": -0, "P_psia": 5E2, "components": [{"name": "methane"}], "z": [1.0e0]}',
    '{"eos": "PR", "flash": "TP", "T_F": 40, "P_psia": 500, "components": [{"name": "METHANE"}], "z": [1], "vf": null, "kij": null, "estimate_kij": null}',
]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, required=True)
    parser.add_argument("--count", type=int, required=True)
    parser.add_argument("--examples", help="the examples folder, whose batches come first")
    parser.add_argument("--broken", action="store_true", help="add the broken requests")
    parser.add_argument("--table", default=os.path.join(os.path.dirname(__file__),
                                                        "../../../data/components.csv"))
    args = parser.parse_args()
    table = read_table(args.table)
    rng = random.Random(args.seed)
    out = sys.stdout
    if args.examples:
        with open(os.path.join(args.examples, "natural_gas_tp.json")) as handle:
            out.write(json.dumps(json.load(handle)) + "\n")
        for name in ("binary_batch.jsonl", "natural_gas_pressures.jsonl"):
            with open(os.path.join(args.examples, name)) as handle:
                for line in handle:
                    if line.strip():
                        out.write(line.rstrip("\n") + "\n")
    if args.broken:
        for line in BROKEN:
            out.write(line.replace("\n", " ") + "\n")
    for _ in range(args.count):
        out.write(json.dumps(request(rng, table)) + "\n")


if __name__ == "__main__":
    main()
