// What the compare window shows and saves of its checked trials: the chart, the table of
// numbers, and the table, the curves and the picture as files.

#include "animation/compare/CompareChart.h"
#include "animation/compare/frmCompareTrial.h"
#include "animation/graphs/PictureExport.h"
#include "core/SharedState.h"
#include "forcedata/ExportFile.h"
#include "forcedata/LowPass.h"
#include "platform/Platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIODevice>
#include <QRadioButton>
#include <QTableWidget>

#include <algorithm>
#include <array>
#include <span>

using namespace compare;

namespace
{
constexpr const char* SaveTableCommand = "Save table as CSV…";
constexpr const char* SaveCurvesCommand = "Save curves as CSV…";

// Okabe and Ito's colours, which stay apart for the common colour-vision deficiencies.
const QColor GroupAColour(0, 114, 178);
const QColor GroupBColour(213, 94, 0);
const std::array<QColor, 5> OtherColours{QColor(0, 158, 115), QColor(204, 121, 167),
                                         QColor(230, 159, 0), QColor(86, 180, 233),
                                         QColor(90, 90, 90)};

QColor groupColour(Group g)
{
    return g == Group::A ? GroupAColour : GroupBColour;
}
} // namespace

void frmCompare::redrawChart()
{
    const Channel channel = Channel(std::clamp(cboQuantity->currentIndex(), 0, ChannelCount - 1));
    const bool normalisedAxis = optNormalised->isChecked();
    const bool bodyWeights = chkBodyWeights->isChecked() && isForce(channel);
    const bool individual = chkIndividual->isChecked();
    const std::optional<double> fc = lowPassHz();
    const auto k = std::size_t(channel);

    Plot plot;
    plot.title = QString(channelName(channel)) + ", first contact of each checked trial";
    if (fc)
        plot.title +=
            QString::fromUtf8(" — ") + QString::fromStdString(forcedata::lowPassTitle(*fc));
    plot.xLabel = normalisedAxis ? "Contact (%)" : "Time from the contact's start (s)";
    plot.yLabel = QString("%1 (%2)").arg(channelName(channel), channelUnit(channel, bodyWeights));

    std::array<std::vector<std::vector<double>>, 3> groupCurves; // None, A, B
    int other = 0;
    std::vector<double> percent(NormalisedPoints);
    for (int i = 0; i < NormalisedPoints; ++i)
        percent[std::size_t(i)] = i;
    for (const Trial* t : checkedTrials()) {
        if (!t->note.empty() || t->norm[k].empty())
            continue;
        const std::vector<double>& source = normalisedAxis ? t->norm[k] : t->values[k];
        std::vector<double> y = source;
        if (bodyWeights) {
            auto scaled = inBodyWeights(source, t->bodyWeight);
            if (!scaled)
                continue; // said in the table's body_weight_n, left off the chart
            y = std::move(*scaled);
        }
        PlotLine line;
        line.name = t->file;
        line.colour = t->group == Group::None
                          ? OtherColours[std::size_t(other++) % OtherColours.size()]
                          : groupColour(t->group).lighter(135);
        if (normalisedAxis) {
            line.x = percent;
        } else {
            line.x.resize(y.size());
            for (std::size_t i = 0; i < y.size(); ++i)
                line.x[i] = double(i) / *t->rate;
        }
        if (normalisedAxis)
            groupCurves[std::size_t(t->group)].push_back(y);
        line.y = std::move(y);
        if (individual)
            plot.lines.push_back(std::move(line));
    }
    if (normalisedAxis) {
        for (const Group g : {Group::A, Group::B}) {
            const auto& curves = groupCurves[std::size_t(g)];
            if (curves.size() < 2)
                continue;
            std::vector<std::span<const double>> spans(curves.begin(), curves.end());
            const Spread s = spread(spans);
            PlotBand band;
            band.colour = groupColour(g);
            band.x = percent;
            band.low.resize(s.mean.size());
            band.high.resize(s.mean.size());
            for (std::size_t i = 0; i < s.mean.size(); ++i) {
                band.low[i] = s.mean[i] - s.sd[i];
                band.high[i] = s.mean[i] + s.sd[i];
            }
            plot.bands.push_back(std::move(band));
            PlotLine mean;
            mean.name = QString("Group %1 mean ± SD (n = %2)").arg(groupName(g)).arg(curves.size());
            mean.colour = groupColour(g).darker(115);
            mean.x = percent;
            mean.y = s.mean;
            mean.mean = true;
            plot.lines.push_back(std::move(mean));
        }
    }
    plot.empty = checkedTrials().empty() ? "Check trials in the list to draw them"
                                         : "None of the checked trials has a curve to draw";
    chart->setPlot(std::move(plot));
}

std::string frmCompare::tableCsv() const
{
    std::string text = std::string(forcedata::csvHeader()) + '\n';
    std::array<std::vector<const forcedata::ContactMeasures*>, 3> firsts;
    const bool all = chkAllContacts->isChecked();
    for (const Trial* t : checkedTrials()) {
        if (!t->prepared)
            continue;
        text += all ? t->rowsAll : t->rowsFirst;
        if (t->note.empty() && !t->measures.empty())
            firsts[std::size_t(t->group)].push_back(&t->measures.front());
    }
    for (const Group g : {Group::A, Group::B})
        if (!firsts[std::size_t(g)].empty())
            text += groupCsvRows(g, firsts[std::size_t(g)]);
    return text;
}

void frmCompare::fillTable()
{
    const std::string text = tableCsv();
    std::vector<std::vector<std::string>> rows;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = std::min(text.find('\n', from), text.size());
        rows.push_back(splitCsvLine(std::string_view(text).substr(from, end - from)));
        from = end + 1;
    }
    tblNumbers->setUpdatesEnabled(false);
    tblNumbers->clearContents();
    const std::vector<std::string>& header = rows.front();
    tblNumbers->setColumnCount(int(header.size()));
    QStringList headings;
    for (const std::string& h : header)
        headings << QString::fromStdString(h);
    tblNumbers->setHorizontalHeaderLabels(headings);
    tblNumbers->setRowCount(int(rows.size()) - 1);
    for (int r = 1; r < int(rows.size()); ++r) {
        const auto& fields = rows[std::size_t(r)];
        for (int c = 0; c < int(fields.size()) && c < int(header.size()); ++c) {
            auto* item = new QTableWidgetItem(QString::fromStdString(fields[std::size_t(c)]));
            if (c >= 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            tblNumbers->setItem(r - 1, c, item);
        }
    }
    tblNumbers->setUpdatesEnabled(true);
}

std::string frmCompare::curvesCsvText() const
{
    const Channel channel = Channel(std::clamp(cboQuantity->currentIndex(), 0, ChannelCount - 1));
    const bool bodyWeights = chkBodyWeights->isChecked() && isForce(channel);
    const auto k = std::size_t(channel);
    std::vector<CurveColumn> columns;
    std::array<std::vector<std::vector<double>>, 3> groups;
    for (const Trial* t : checkedTrials()) {
        if (!t->note.empty() || t->norm[k].empty())
            continue;
        std::vector<double> y = t->norm[k];
        if (bodyWeights) {
            auto scaled = inBodyWeights(y, t->bodyWeight);
            if (!scaled)
                continue;
            y = std::move(*scaled);
        }
        columns.push_back({t->file.toStdString(), y});
        groups[std::size_t(t->group)].push_back(std::move(y));
    }
    for (const Group g : {Group::A, Group::B}) {
        const auto& curves = groups[std::size_t(g)];
        if (curves.empty())
            continue;
        const Spread s = spread(std::vector<std::span<const double>>(curves.begin(), curves.end()));
        columns.push_back({std::string(groupName(g)) + " mean", s.mean});
        columns.push_back({std::string(groupName(g)) + " SD", s.sd});
    }
    const std::string what =
        std::string(channelName(channel)) + " (" + channelUnit(channel, bodyWeights) + ")";
    return curvesCsv(what, lowPassHz(), columns);
}

namespace
{
void saveText(SharedState& state, Platform& platform, const QString& command, const QString& name,
              const std::string& text)
{
    const QString title = QString(command).remove(u'…');
    const auto path = askSavePath(platform, title, state.DataDir, name,
                                  "CSV numbers (*.csv)|*.csv|All files (*)|*", {".csv"});
    if (!path)
        return;
    const QString reason = writeWhole(*path, [&text](QIODevice& device) {
        return device.write(text.data(), qint64(text.size())) == qint64(text.size());
    });
    if (!reason.isEmpty())
        platform.dialogs.message(couldNotWrite(*path, reason), title, MessageIcon::Critical,
                                 MessageButtons::OK);
}
} // namespace

void frmCompare::saveTable()
{
    saveText(m_state, m_platform, SaveTableCommand, "compare_table.csv", tableCsv());
}

void frmCompare::saveCurves()
{
    saveText(m_state, m_platform, SaveCurvesCommand, "compare_curves.csv", curvesCsvText());
}

void frmCompare::savePicture()
{
    savePictureAs(m_state, m_platform, "compare", chart->size(),
                  [this](QPainter& p, QSize size) { chart->render(p, size); });
}
