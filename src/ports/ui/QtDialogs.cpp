#include "ports/ui/QtDialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <cstring>

#include "ports/ui/NoticeDlg.h"
#include "ports/ui/UiText.h"

namespace korvel::ui {

void QtDialogs::Message(const char* text, const char* caption) {
    QMessageBox box(
        QMessageBox::NoIcon,
        caption != nullptr ? QString::fromUtf8(caption) : UiText(TextId::DefaultCaption),
        QString::fromUtf8(text), QMessageBox::Ok, parent_.data());
    box.exec();
}

void QtDialogs::Notice(const char* line1, const char* line2) {
    CNoticeDlg notice(parent_.data());
    notice.SetLines(QString::fromUtf8(line1), QString::fromUtf8(line2));
    notice.SetRestartLayout(false);
    notice.exec();
}

bool QtDialogs::OpenFileName(FileDialogRequest& request, char* path, size_t size) {
    return AskFileName(false, request, path, size);
}

bool QtDialogs::SaveFileName(FileDialogRequest& request, char* path, size_t size) {
    return AskFileName(true, request, path, size);
}

bool QtDialogs::AskFileName(bool save, FileDialogRequest& request, char* path, size_t size) {
    QFileDialog dialog(parent_.data(), QString::fromUtf8(request.title),
                       QString::fromLocal8Bit(request.initialDirectory));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    // The name the user chose, not the file a link leads to: the title and
    // the companion settings file go with that name; saving writes through.
    dialog.setOption(QFileDialog::DontResolveSymlinks, true);
    dialog.setDefaultSuffix(QString::fromUtf8(request.defaultExtension));
    QStringList filters;
    for (int32_t i = 0; i < request.filterCount; ++i) {
        const FileFilter& filter = request.filters[i];
        // Qt reads the patterns from the brackets; the list keeps ";" between them.
        QString patterns = QString::fromUtf8(filter.pattern);
        patterns.replace(';', ' ');
        filters << QStringLiteral("%1 (%2)").arg(QString::fromUtf8(filter.name), patterns);
    }
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int32_t selected =
            request.selectedFilter >= 1 && request.selectedFilter <= filters.size()
                ? request.selectedFilter
                : 1;
        dialog.selectNameFilter(filters[selected - 1]);
        // A name typed without extension gets the one of the file type chosen,
        // so that a binary file is not named as a text file; a type of any
        // extension ("*.*") leaves the default one.
        const auto followFilter = [&dialog, &request, &filters](const QString& chosen) {
            const qsizetype index = filters.indexOf(chosen);
            const QString pattern =
                index >= 0 ? QString::fromUtf8(request.filters[index].pattern) : QString();
            const bool oneExtension = pattern.startsWith(QStringLiteral("*.")) &&
                                      pattern.count(QLatin1Char('*')) == 1 &&
                                      !pattern.contains(QLatin1Char(';'));
            dialog.setDefaultSuffix(oneExtension ? pattern.mid(2)
                                                 : QString::fromUtf8(request.defaultExtension));
        };
        followFilter(filters[selected - 1]);
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;

    const QByteArray chosen = QFile::encodeName(dialog.selectedFiles().constFirst());
    // A path that does not fit would name another file: treated as no answer.
    if (size == 0 || static_cast<size_t>(chosen.size()) >= size) return false;
    std::memcpy(path, chosen.constData(), static_cast<size_t>(chosen.size()) + 1);
    const qsizetype filter = filters.indexOf(dialog.selectedNameFilter());
    if (filter >= 0) request.selectedFilter = static_cast<int32_t>(filter) + 1;
    return true;
}

int32_t QtDialogs::ChooseItem(const char* title, const char* prompt, const char* const* items,
                              int32_t count, int32_t selected) {
    QStringList list;
    for (int32_t k = 0; k < count; ++k)
        list << QString::fromUtf8(items[k]);
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(parent_.data(), QString::fromUtf8(title), QString::fromUtf8(prompt),
                              list, selected, false, &ok);
    return ok ? static_cast<int32_t>(list.indexOf(chosen)) : -1;
}

}  // namespace korvel::ui
