#include "font_summary.h"

#include <QStringList>

#include "pgfview_shared/font_summary.h"
#include "shown_name.h"

namespace tessavine::pgfview {
namespace {

QString againstBudget(std::size_t used, std::size_t budget) {
    const QString text = QString::fromStdString(pgfview_shared::bytesText(used) + "<br>" +
                                                pgfview_shared::ofFirmwareText(used, budget));
    return used > budget ? QString("<span style='color:#d03030'><b>%1</b></span>").arg(text) : text;
}

}  // namespace

std::optional<int> slotOfFileName(const QString& fileName) {
    return pgfview_shared::slotOfFileName(fileName.toStdString());
}

FontSummary summarize(const pgf::PgfFile& font, const QString& fileName, std::size_t fileBytes) {
    const pgfview_shared::FontSummary shared =
        pgfview_shared::summarize(font, fileName.toStdString(), fileBytes);
    FontSummary summary;
    summary.name = shownName(shared.name);
    summary.style = shownName(shared.style);
    summary.emPixels = shared.emPixels;
    summary.glyphCount = shared.glyphCount;
    summary.missing = shared.missing;
    summary.wantedSet = QString::fromStdString(shared.wantedSet);
    summary.fileBytes = shared.fileBytes;
    summary.openBytes = shared.openBytes;
    summary.slot = shared.slot;
    summary.slotFromName = shared.slotFromName;
    summary.slotFile = QString::fromStdString(shared.slotFile);
    summary.slotFileBytes = shared.slotFileBytes;
    summary.slotOpenBytes = shared.slotOpenBytes;
    for (const pgfview_shared::FontSummary::Source& source : shared.sources) {
        summary.sources.push_back(
            {shownName(source.font), source.characters, QString::fromStdString(source.runs)});
    }
    summary.sourcesProblem = QString::fromStdString(shared.sourcesProblem);
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
    html += row("Missing", s.missing.empty()
                               ? QString("none of %1").arg(s.wantedSet)
                               : QString("%1 of %2").arg(s.missing.size()).arg(s.wantedSet));
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
        lines << QString::fromStdString(pgfview_shared::codeAndCharacter(code));
    }
    return lines.join('\n');
}

}  // namespace tessavine::pgfview
