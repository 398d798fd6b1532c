// The animation window's side of the graphs and of the pictures and films: its
// context menu, Ctrl+G, and the record the linked cursor asks it to show.

#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/AnimationFilm.h"
#include "animation/graphs/PassDrawing.h"
#include "animation/graphs/PictureExport.h"
#include "animation/graphs/frmGraphs.h"
#include "core/Library.h"
#include "core/SharedState.h"

#include <QMenu>
#include <QShortcut>
#include <QtGlobal>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace
{
// A point of the pass to go on drawing from: a move back starts at the nearest one
// before its record instead of drawing the pass again from its first record.
struct Checkpoint {
    int record = 0;
    graphs::PassCursor cursor;
    PictureBox::Snapshot picture;
};

// At most this many pictures are kept: a few across the whole pass, and a few in the
// stretch just before the record shown, where moves of one record back land.
constexpr int WideCheckpoints = 8;
constexpr int NearCheckpoints = 4;
// Drawing this many records costs less than keeping a picture of them.
constexpr int MinSpacing = 16;

// The numbers the drawing reads, so a trial read again in place is not built on.
std::size_t tableKey(const ForceTable& t)
{
    const std::size_t n =
        std::size_t(std::clamp<int>(t.RecordCount, 0, ForceTable::RecordCapacity)) + 1;
    std::size_t key = qHash(t.RecordCount);
    for (const auto* column : {&t.Fx, &t.Fy, &t.Fz, &t.Ax, &t.Ay, &t.Extra})
        key = qHashBits(column->data(), n * sizeof(double), key);
    return key;
}

// What the cursor last had the picture show, so a step on only adds the records
// between and a step back goes on from a kept picture; anything else that drew on the
// picture since makes it start afresh.
class ShownPass : public QObject
{
public:
    using QObject::QObject;
    graphs::PassDrawing drawing;
    graphs::PassCursor cursor;
    const ForceTable* table = nullptr;
    std::size_t key = 0;
    int shown = 0;
    std::size_t primitives = 0;
    PictureBox::Primitive last;
    std::vector<Checkpoint> wide; // every `wideSpacing`-th record the pass visits
    std::vector<Checkpoint> near; // every `nearSpacing`-th, just before the record shown
    int wideSpacing = 1;
    int nearSpacing = 1;
};

// Keeps the picture at record `i` (the `k`-th the pass visits) where a checkpoint
// belongs, once the drawing up to `target` will pass it.
void keepCheckpoint(ShownPass& s, PictureBox& picture, int i, int k, int target)
{
    const auto keep = [&](std::vector<Checkpoint>& list) {
        for (const Checkpoint& c : list) {
            if (c.record == i)
                return;
        }
        list.push_back({i, s.cursor, picture.snapshot()});
    };
    if (k % s.wideSpacing == 0)
        keep(s.wide);
    // The near ones only just before the target; the farthest gives way.
    const int step = std::max(1, s.drawing.increment);
    if (k % s.nearSpacing == 0 && target - i < NearCheckpoints * s.nearSpacing * step) {
        keep(s.near);
        if (int(s.near.size()) > NearCheckpoints) {
            const auto farthest = std::max_element(
                s.near.begin(), s.near.end(), [target](const Checkpoint& a, const Checkpoint& b) {
                    return std::abs(a.record - target) < std::abs(b.record - target);
                });
            s.near.erase(farthest);
        }
    }
}

// The kept checkpoint nearest before or at record `i`, if any.
const Checkpoint* checkpointBefore(const ShownPass& s, int i)
{
    const Checkpoint* best = nullptr;
    for (const auto* list : {&s.wide, &s.near}) {
        for (const Checkpoint& c : *list) {
            if (c.record <= i && (!best || c.record > best->record))
                best = &c;
        }
    }
    return best;
}
} // namespace

void frmAnimForces::showRecord(int index)
{
    if (m_unloaded || isBusy())
        return;
    const ForceTable& t = m_state.forces;
    const int count = std::clamp<int>(t.RecordCount, 0, ForceTable::RecordCapacity);
    if (count < 1)
        return;
    const int i = std::clamp(index, 1, count);
    auto* shown = picVectors->findChild<ShownPass*>(QString(), Qt::FindDirectChildrenOnly);
    if (!shown)
        shown = new ShownPass(picVectors);
    const graphs::PassDrawing drawing = graphs::passDrawingOf(*this);
    const std::size_t key = tableKey(t);
    const bool samePass = shown->table == &t && shown->key == key && shown->drawing == drawing &&
                          shown->primitives == picVectors->primitives().size() &&
                          !picVectors->primitives().empty() &&
                          picVectors->primitives().back() == shown->last;
    if (!samePass) {
        shown->drawing = drawing;
        shown->table = &t;
        shown->key = key;
        const int visits = graphs::passRecordCount(t, drawing.increment);
        shown->wideSpacing = std::max(MinSpacing, (visits + WideCheckpoints - 1) / WideCheckpoints);
        shown->nearSpacing =
            std::max(MinSpacing, (shown->wideSpacing + NearCheckpoints - 1) / NearCheckpoints);
    }
    const int step = std::max(1, drawing.increment);
    const auto checkpoint = [this, shown, step, i](int record) {
        keepCheckpoint(*shown, *picVectors, record, (record - 1) / step + 1, i);
        return true;
    };
    bool onwards = samePass && i > shown->shown;
    if (samePass && i < shown->shown) {
        const Checkpoint* from = checkpointBefore(*shown, i);
        // One kept at another size fails, and the drawing starts afresh.
        if (from && picVectors->restore(from->picture)) {
            shown->cursor = from->cursor;
            onwards = true;
        }
    }
    if (!samePass || i != shown->shown) {
        if (!onwards) {          // from the first record: clear, scale and plate
            shown->wide.clear(); // pictures of the cleared drawing
            shown->near.clear();
            shown->cursor = graphs::drawPass(*picVectors, t, drawing, 0);
        }
        graphs::continuePass(*picVectors, t, drawing, shown->cursor, i, checkpoint);
    }
    shown->shown = i;
    shown->primitives = picVectors->primitives().size();
    if (!picVectors->primitives().empty())
        shown->last = picVectors->primitives().back();
    CurrentRecord = i;
    m_pendingReadout = i;
    refreshDisplay(true);
}

void frmAnimForces::addGraphsCommands()
{
    // The graphs opened from this window follow this window.
    const auto openGraphs = [this] {
        showGraphs(m_state, m_platform);
        if (frmGraphs* g = graphsWindow())
            g->linkAnimation(this);
    };
    auto* menu = new QMenu(this);
    menu->setObjectName("mnuPicture");
    QAction* graphs = menu->addAction("Force &graphs", this, openGraphs);
    graphs->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    menu->addSeparator();
    menu->addAction(SavePictureCommand, this, [this] {
        const QString base = m_state.ForceFile.isEmpty() ? QStringLiteral("vectors")
                                                         : GetBaseName(m_state.ForceFile);
        savePictureAs(
            m_state, m_platform, base, picVectors->size(),
            [this](QPainter& p, QSize size) { paintVectorPicture(p, size, *picVectors); });
    });
    menu->addAction(SaveFilmCommand, this,
                    [this] { saveAnimationFilm(*this, m_state, m_platform); });

    picVectors->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(picVectors, &QWidget::customContextMenuRequested, this,
            [this, menu](const QPoint& at) { menu->popup(picVectors->mapToGlobal(at)); });
    auto* graphsKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
    connect(graphsKey, &QShortcut::activated, this, openGraphs);
    // The picture takes no focus: the menu keys open its menu from anywhere in the window.
    for (const QKeySequence& key :
         {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, [this, menu] {
            menu->popup(picVectors->mapToGlobal(picVectors->rect().center()));
        });
    }
    if (frmGraphs* g = graphsWindow())
        g->linkAnimation(this);
}
