#include "app/composition_paste.h"

#include "app/composition_tab.h"
#include "app/dialog_seam.h"
#include "app/display_text.h"
#include "app/grid_clipboard.h"
#include "common/precision.h"

#include <cmath>

namespace quorvane {

namespace {

// The amount as an entered fraction, or nullopt for text that is not a usable number.
std::optional<float> Amount(const QString& cell, bool percent) {
    const auto value = ParseNumber(cell);
    if (!value) {
        return std::nullopt;
    }
    const float fraction = ToSingle(percent ? *value / 100.0 : *value);
    return std::isfinite(fraction) ? std::optional<float>(fraction) : std::nullopt;
}

int IndexOfName(const QStringList& names, const QString& name) {
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(name, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

} // namespace

CompositionPaste ReadCompositionPaste(const QString& text, const QStringList& names, int firstRow,
                                      bool percent) {
    CompositionPaste paste;
    int next = std::max(0, firstRow);
    bool first = true;
    for (QStringList row : ParseTableText(text)) {
        for (QString& cell : row) {
            cell = cell.trimmed();
        }
        while (!row.isEmpty() && row.back().isEmpty()) {
            row.removeLast();
        }
        if (row.isEmpty()) {
            continue;
        }
        const bool heading = first;
        first = false;
        if (row.size() >= 2 && !ParseNumber(row[0])) {
            // Name and amount.
            const int index = IndexOfName(names, row[0]);
            const auto amount = Amount(row[1], percent);
            if (index >= 0 && amount) {
                paste.amounts.emplace_back(index, *amount);
            } else if (index >= 0 || amount) {
                ++paste.refused;
            }
            // Neither a name nor a number: a heading such as "Component  Mole Frac".
            continue;
        }
        const auto amount = Amount(row[0], percent);
        if (!amount) {
            if (!heading) {
                ++paste.refused;
            }
            continue;
        }
        if (next >= names.size()) {
            ++paste.refused;
            continue;
        }
        paste.amounts.emplace_back(next++, *amount);
    }
    return paste;
}

void PasteIntoComposition(MainState& state, CompositionTab& tab, int currentRow,
                          const QString& text) {
    QStringList names;
    for (int i = 0; i < state.mixture.Count(); ++i) {
        names << ToQString(state.mixture.Name(i));
    }
    const CompositionPaste paste =
        ReadCompositionPaste(text, names, currentRow, IsPercentBasis(state.basis));
    auto entered = state.mixture.EnteredComposition();
    QStringList negative; // refused: a component keeps its amount rather than take a negative one
    bool stored = false;
    for (const auto& [index, fraction] : paste.amounts) {
        if (fraction < 0.0F) {
            negative << names[index];
            continue;
        }
        entered[static_cast<std::size_t>(index)] = fraction;
        stored = true;
    }
    if (stored) {
        emit tab.inputChanged();
        tab.Rebuild();
    }
    if (!negative.isEmpty()) {
        ShowMessage(&tab, QStringLiteral("Physical Properties"),
                    (negative.size() == 1
                         ? QStringLiteral("The amount of %1 cannot be negative; the previous "
                                          "amount is kept.")
                         : QStringLiteral("The amounts of %1 cannot be negative; the previous "
                                          "amounts are kept."))
                        .arg(negative.join(QStringLiteral(", "))),
                    QMessageBox::Warning);
    }
    if (paste.refused > 0) {
        ShowMessage(&tab, QStringLiteral("Physical Properties"),
                    QStringLiteral("%1 pasted cell(s) were left out: they were not numbers, named "
                                   "no component of the mixture, or lay below its last "
                                   "component. The other amounts were stored; check the "
                                   "composition.")
                        .arg(paste.refused),
                    QMessageBox::Warning);
    }
}

} // namespace quorvane
