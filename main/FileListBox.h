#pragma once

// A file list of the main window. Whatever way its chosen entry changes (a click, a
// press dragged to another entry or off the list, a right click, the keyboard, the
// program), `onChoice` runs once for the entry now highlighted; a mouse choice is
// made when the button is let go, so a drag over ten entries is one choice.

#include <QListWidget>
#include <QPersistentModelIndex>
#include <functional>

class FileListBox : public QListWidget
{
public:
    explicit FileListBox(QWidget* parent = nullptr);

    std::function<void()> onChoice;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // An entry once chosen stays highlighted until another is chosen: neither a
    // Ctrl+click nor a click below the last entry leaves the list without a choice.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

private:
    QPersistentModelIndex selectedIndex() const;
    void selectionMoved();
    void choose();

    bool m_pressing = false;
    bool m_fromDoubleClick = false;
    QPersistentModelIndex m_atPress;
};
