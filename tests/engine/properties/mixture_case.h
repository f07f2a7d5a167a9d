#pragma once

// A flash case of test components, built from their database rows as the main window fills
// it: 32-bit working arrays of the critical data, the vapour-pressure sets, zero interaction
// parameters and the equation of state by list index. Shared by the property tests and the
// property benchmark.

#include "common/precision.h"
#include "engine/flash/flash_case.h"
#include "tests/engine/properties/component_rows.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::test_rows {

struct MixtureCase {
    FlashCase flash;
    std::vector<std::vector<double>> rows;
    std::vector<std::string> names;

    MixtureCase(const std::vector<const ComponentRow*>& components, std::vector<float> z,
                int eosIndex) {
        flash.n = static_cast<std::int16_t>(components.size());
        flash.z = std::move(z);
        for (const ComponentRow* c : components) {
            rows.push_back(c->cells);
            names.push_back(c->name);
            flash.tcF.push_back(ToSingle(c->cells[3]));
            flash.pcPsia.push_back(ToSingle(c->cells[4]));
            flash.vc.push_back(ToSingle(c->cells[5]));
            flash.zc.push_back(ToSingle(c->cells[6]));
            flash.w.push_back(ToSingle(c->cells[17]));
            VapourPressureSet vp;
            for (std::size_t k = 0; k < 5; ++k) {
                vp.c[k] = ToSingle(c->cells[19 + k]);
            }
            vp.code = static_cast<std::int16_t>(c->cells[26]);
            flash.vapourPressure.push_back(vp);
        }
        flash.kij = ZeroKijTable(flash.n);
        flash.eosIndex = eosIndex;
    }
};

} // namespace quorvane::test_rows
