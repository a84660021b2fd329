#include "font_summary.h"

#include <QLocale>

#include "pgf/character_set.h"
#include "pgf/firmware_slots.h"
#include "psp_screen/character_table.h"
#include "shown_name.h"

namespace tessavine::pgfview {
namespace {

QString bytes(std::size_t count) {
    return QLocale::c().toString(static_cast<qulonglong>(count));
}

QString againstBudget(std::size_t used, std::size_t budget) {
    const double percent =
        budget == 0 ? 0.0 : 100.0 * static_cast<double>(used) / static_cast<double>(budget);
    const QString text = QString("%1 bytes<br>of the firmware's %2 (%3%)")
                             .arg(bytes(used), bytes(budget), QString::number(percent, 'f', 0));
    return used > budget ? QString("<span style='color:#d03030'><b>%1</b></span>").arg(text) : text;
}

constexpr int kRunsShown = 6;

std::vector<FontSummary::Source> sourcesOf(const pgf::PgfFile& font) {
    std::vector<FontSummary::Source> sources;
    if (!font.sources) {
        return sources;
    }
    for (const pgf::FontSource& source : *font.sources) {
        FontSummary::Source summary{shownName(source.name), 0, {}};
        QStringList runs;
        for (const auto& [first, last] : source.runs) {
            summary.characters += static_cast<std::size_t>(last - first) + 1;
            if (runs.size() == kRunsShown) {
                continue;  // only counted: text for runs never shown is work for nothing
            }
            QString run =
                QString("U+%1").arg(static_cast<uint>(first), 4, 16, QChar('0')).toUpper();
            if (last > first) {
                run += QString("-%1").arg(static_cast<uint>(last), 4, 16, QChar('0')).toUpper();
            }
            runs << run;
        }
        if (source.runs.size() > static_cast<std::size_t>(kRunsShown)) {
            runs << "...";
        }
        summary.runs = runs.join(", ");
        sources.push_back(summary);
    }
    return sources;
}

}  // namespace

std::optional<int> slotOfFileName(const QString& fileName) {
    return pgf::slotOfFileName(fileName.toStdString());
}

FontSummary summarize(const pgf::PgfFile& font, const QString& fileName, std::size_t fileBytes) {
    FontSummary summary;
    summary.name = shownName(font.header.fontName);
    summary.style = shownName(font.header.fontType);
    summary.emPixels = font.header.hSize / 64.0 * font.header.hResolution / 64.0 / 72.0;
    summary.glyphCount = font.glyphs.size();
    summary.missing = psp_screen::missingCharacters(font, pgf::pspLatinCharacters());
    summary.fileBytes = fileBytes;
    summary.openBytes = pgf::stingyOpenBytes(font.sections);
    const std::optional<int> slot = slotOfFileName(fileName);
    summary.slot = slot.value_or(0);
    summary.slotFromName = slot.has_value();
    const pgf::FirmwareSlot& firmware = pgf::firmwareSlot(summary.slot);
    summary.slotFile = QString::fromUtf8(firmware.fileName.data(),
                                         static_cast<qsizetype>(firmware.fileName.size()));
    summary.slotFileBytes = firmware.fileBytes;
    summary.slotOpenBytes = firmware.stingyOpenBytes;
    summary.sources = sourcesOf(font);
    summary.sourcesProblem = QString::fromStdString(font.sourcesProblem);
    return summary;
}

QString summaryHtml(const FontSummary& s) {
    const auto row = [](const QString& label, const QString& value) {
        return QString("<tr><td><b>%1</b></td><td>%2</td></tr>").arg(label, value);
    };
    QString html = "<table cellspacing='3'>";
    html += row("Font", s.name.toHtmlEscaped());
    html += row("Style", s.style.toHtmlEscaped());
    html += row("Em size", QString("%1 px").arg(QString::number(s.emPixels, 'f', 2)));
    html += row("Glyphs", QString::number(s.glyphCount));
    html +=
        row("Missing", s.missing.empty() ? QString("none of the PSP's set")
                                         : QString("%1 of the PSP's set").arg(s.missing.size()));
    const QString slot = s.slotFile + (s.slotFromName ? "" : " (assumed)");
    html += row("Compared with", slot);
    html += row("File size", againstBudget(s.fileBytes, s.slotFileBytes));
    html += row("Open memory", againstBudget(s.openBytes, s.slotOpenBytes));
    for (std::size_t i = 0; i < s.sources.size(); ++i) {
        const FontSummary::Source& source = s.sources[i];
        html += row(i == 0 ? "Drawn from" : "", QString("%1: %2 characters<br><small>%3</small>")
                                                    .arg(source.font.toHtmlEscaped())
                                                    .arg(source.characters)
                                                    .arg(source.runs));
    }
    if (!s.sourcesProblem.isEmpty()) {
        html += row("Drawn from", s.sourcesProblem.toHtmlEscaped());
    }
    html += "</table>";
    return html;
}

QString describeCharacters(const std::vector<char32_t>& characters) {
    QStringList lines;
    for (const char32_t code : characters) {
        lines << QString("U+%1  %2")
                     .arg(static_cast<uint>(code), 4, 16, QChar('0'))
                     .toUpper()
                     .arg(QString::fromUcs4(&code, 1));
    }
    return lines.join('\n');
}

}  // namespace tessavine::pgfview
