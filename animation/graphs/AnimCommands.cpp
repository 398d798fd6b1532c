// The animation window's side of the graphs and of the pictures and films: its
// context menu, Ctrl+G, and the record the linked cursor asks it to show.

#include "animation/PictureBox.h"
#include "animation/frmAnimForces.h"
#include "animation/graphs/AnimationFilm.h"
#include "animation/graphs/PassDrawing.h"
#include "animation/graphs/PictureExport.h"
#include "animation/graphs/frmGraphs.h"
#include "main/Library.h"
#include "main/SharedState.h"

#include <QMenu>
#include <QShortcut>

#include <algorithm>

namespace
{
// What the cursor last had the picture show, so a step on only adds the records
// between; anything else that drew on the picture since makes it start afresh.
class ShownPass : public QObject
{
public:
    using QObject::QObject;
    graphs::PassDrawing drawing;
    graphs::PassCursor cursor;
    const ForceTable* table = nullptr;
    int recordCount = -2;
    int shown = 0;
    std::size_t primitives = 0;
    PictureBox::Primitive last;
};
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
    const bool onwards =
        shown->table == &t && shown->recordCount == t.RecordCount && shown->drawing == drawing &&
        i > shown->shown && shown->primitives == picVectors->primitives().size() &&
        !picVectors->primitives().empty() && picVectors->primitives().back() == shown->last;
    if (onwards)
        graphs::continuePass(*picVectors, t, drawing, shown->cursor, i);
    else
        shown->cursor = graphs::drawPass(*picVectors, t, drawing, i);
    shown->drawing = drawing;
    shown->table = &t;
    shown->recordCount = t.RecordCount;
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
