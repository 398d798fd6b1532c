// Message boxes, input boxes and the file, colour and printer dialogs.

#include "platform/QtPlatform.h"

#include "platform/DialogWidth.h"
#include "platform/Twips.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

namespace
{
const char* const ProgramTitle = "Orvane";
const char* const PrinterSetupTitle = "Printer Setup";
// Boxes that no window asked for are centred on the main window.
const char* const MainWindowName = "frmOrvane";

QString titleOrProgram(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(ProgramTitle) : title;
}

// "Text (*.txt)|*.txt|All|*.*" pairs become Qt's ";;" list of "Text (*.txt)".
QString qtFilter(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        QString label = parts[i];
        result << (label.contains(u'(') ? label : label + " (" + patterns + ")");
    }
    if (result.isEmpty() && !filter.isEmpty())
        result << filter;
    return result.join(";;");
}
} // namespace

QtDialogs::QtDialogs(KeptPrinter* printer) : m_printer(printer) {}

int QtDialogs::message(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons)
{
    QMessageBox box(owner());
    box.setWindowTitle(titleOrProgram(title));
    box.setText(text);
    switch (icon) {
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    using SB = QMessageBox::StandardButton;
    QMessageBox::StandardButtons set;
    switch (buttons) {
    case MessageButtons::OK:
        set = SB::Ok;
        break;
    case MessageButtons::OKCancel:
        set = SB::Ok | SB::Cancel;
        break;
    case MessageButtons::AbortRetryIgnore:
        set = SB::Abort | SB::Retry | SB::Ignore;
        break;
    case MessageButtons::YesNoCancel:
        set = SB::Yes | SB::No | SB::Cancel;
        break;
    case MessageButtons::YesNo:
        set = SB::Yes | SB::No;
        break;
    case MessageButtons::RetryCancel:
        set = SB::Retry | SB::Cancel;
        break;
    }
    box.setStandardButtons(set);
    widenForTitle(box);
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(text);
    switch (box.exec()) {
    case SB::Ok:
        return AnswerOK;
    case SB::Cancel:
        return AnswerCancel;
    case SB::Abort:
        return AnswerAbort;
    case SB::Retry:
        return AnswerRetry;
    case SB::Ignore:
        return AnswerIgnore;
    case SB::Yes:
        return AnswerYes;
    case SB::No:
        return AnswerNo;
    default:
        break;
    }
    // Closing the box with Escape or its close box answers the way out it offers.
    if (buttons == MessageButtons::YesNo)
        return AnswerNo;
    return buttons == MessageButtons::OK ? AnswerOK : AnswerCancel;
}

QString QtDialogs::input(const QString& prompt, const QString& title, const QString& defaultText)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(titleOrProgram(title));
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    widenForTitle(dialog);
    dialog.setAccessibleName(dialog.windowTitle());
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.textValue();
}

std::optional<QString> QtDialogs::openFile(const FileDialogRequest& request)
{
    QFileDialog dialog(owner(), titleOrProgram(request.title), request.initialDir,
                       qtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    const QStringList filters = dialog.nameFilters();
    if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
        dialog.selectNameFilter(filters[request.filterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtDialogs::saveFile(const FileDialogRequest& request)
{
    QFileDialog dialog(owner(), titleOrProgram(request.title), request.initialDir,
                       qtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QColor> QtDialogs::colour(const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, owner());
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

bool QtDialogs::printerSetup()
{
    QPrinter& kept = printer().get();
    QWidget* parent = owner();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        // Without a printer, prints become PDF files: the choice is their page.
        kept.setOutputFormat(QPrinter::PdfFormat);
        QPageSetupDialog dialog(&kept, parent);
        dialog.setWindowTitle(PrinterSetupTitle);
        dialog.setAccessibleName(PrinterSetupTitle);
        return dialog.exec() == QDialog::Accepted;
    }
    if (kept.outputFormat() != QPrinter::NativeFormat)
        kept.setOutputFormat(QPrinter::NativeFormat);
    // The printer, its paper and its options; this dialog prints nothing itself.
    QPrintDialog dialog(&kept, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintShowPageSize);
    dialog.setWindowTitle(PrinterSetupTitle);
    dialog.setAccessibleName(PrinterSetupTitle);
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    }
    return dialog.exec() == QDialog::Accepted;
}

KeptPrinter& QtDialogs::printer()
{
    if (m_printer)
        return *m_printer;
    if (!m_ownPrinter)
        m_ownPrinter = std::make_unique<KeptPrinter>();
    return *m_ownPrinter;
}

QWidget* QtDialogs::owner()
{
    QWidget* window = QApplication::activeWindow();
    if (!window || !window->isVisible())
        window = QApplication::activeModalWidget();
    // Just after a dialog closes no window may be active yet: stay over the same one.
    if (!window && m_lastOwner && m_lastOwner->isVisible())
        window = m_lastOwner;
    if (!window) {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->objectName() == MainWindowName && top->isVisible())
                window = top;
        }
    }
    if (window)
        m_lastOwner = window->window();
    return window;
}
