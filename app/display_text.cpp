#include "app/display_text.h"

#include "units/number_format.h"

#include <QLocale>
#include <cmath>

namespace quorvane {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FormatPattern(double value, const QString& pattern) {
    return FormatPattern(value, std::string_view(pattern.toStdString()));
}

QString FormatPattern(double value, std::string_view pattern) {
    return QString::fromStdString(FormatReadable(value, pattern));
}

QString FormatPattern(float value, const QString& pattern) {
    return FormatPattern(value, std::string_view(pattern.toStdString()));
}

QString FormatPattern(float value, std::string_view pattern) {
    return QString::fromStdString(FormatReadable(value, pattern));
}

QString FormatFixed(double value, int decimals) {
    return QString::fromStdString(
        Readable(value, QLocale().toString(value, 'f', decimals).toStdString()));
}

QString FormatGeneralText(float value) {
    return QString::fromStdString(FormatGeneral(value));
}

std::optional<double> ParseNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    double value = QLocale::c().toDouble(trimmed, &ok);
    if (!ok) {
        value = QLocale().toDouble(trimmed, &ok);
    }
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace quorvane
