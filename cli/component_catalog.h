#pragma once

#include "cli/component_row.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Where components named without their data come from (the component database). Lookups
// may run on several threads at once.
class ComponentCatalog {
public:
    virtual ~ComponentCatalog() = default;

    // The named component's row, or nullptr when the name is not offered. Throws
    // RequestError when the catalogue itself cannot be read (a missing database file).
    virtual const ComponentRow* Find(std::string_view name) const = 0;

    // The offered names, in list order.
    virtual std::vector<std::string> Names() const = 0;
};

} // namespace quorvane
