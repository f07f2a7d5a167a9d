#pragma once

#include "cli/component_catalog.h"

#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quorvane {

class ComponentDatabase;

// The component database as a catalogue. The file is opened on the first lookup (a request
// whose components carry their own data never needs it); the rows are converted to numbers
// once and shared by all threads.
class DatabaseCatalog : public ComponentCatalog {
public:
    explicit DatabaseCatalog(std::filesystem::path path);
    ~DatabaseCatalog() override;

    const ComponentRow* Find(std::string_view name) const override;
    std::vector<std::string> Names() const override;

    const std::filesystem::path& Path() const { return m_path; }

private:
    void Load() const;

    std::filesystem::path m_path;
    mutable std::once_flag m_once;
    mutable std::string m_error; // why the database could not be opened, if it could not
    mutable std::unique_ptr<ComponentDatabase> m_database;
    mutable std::vector<ComponentRow> m_rows; // offered components, in list order
    mutable std::unordered_map<std::string, std::size_t> m_byName;
    mutable std::unordered_map<std::string, std::size_t> m_byUpperName; // unique names only
};

} // namespace quorvane
