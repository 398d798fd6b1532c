#include "main/FileListBox.h"

#include <QMouseEvent>

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemSelectionChanged, this, &FileListBox::selectionMoved);
}

QPersistentModelIndex FileListBox::selectedIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QPersistentModelIndex() : QPersistentModelIndex(selected.first());
}

void FileListBox::choose()
{
    if (onChoice && selectedIndex().isValid())
        onChoice();
}

void FileListBox::selectionMoved()
{
    // While a button is held the highlight follows the pointer; the release decides.
    if (!m_pressing)
        choose();
}

void FileListBox::mousePressEvent(QMouseEvent* event)
{
    m_fromDoubleClick = false;
    if (event->button() != Qt::LeftButton) {
        // Only the left button drags a highlight along; another button chooses at
        // once, since the context menu that a right press opens takes its release.
        m_pressing = false;
        QListWidget::mousePressEvent(event);
        return;
    }
    m_pressing = true;
    m_atPress = selectedIndex();
    QListWidget::mousePressEvent(event);
}

void FileListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The first click of the pair has made the choice already.
    m_pressing = true;
    m_fromDoubleClick = true;
    m_atPress = selectedIndex();
    QListWidget::mouseDoubleClickEvent(event);
}

void FileListBox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (!m_pressing)
        return;
    m_pressing = false;
    const QPersistentModelIndex now = selectedIndex();
    if (!now.isValid())
        return;
    const bool moved = now != m_atPress;
    // A left click on the entry already chosen chooses it again (an output file opens
    // once more), as a click on any entry does.
    const bool clickedAgain = !m_fromDoubleClick && event->button() == Qt::LeftButton &&
                              indexAt(event->position().toPoint()) == now;
    if (moved || clickedAgain)
        choose();
}

QItemSelectionModel::SelectionFlags FileListBox::selectionCommand(const QModelIndex& index,
                                                                  const QEvent* event) const
{
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    if (command & QItemSelectionModel::Deselect)
        return QItemSelectionModel::NoUpdate;
    return command;
}
