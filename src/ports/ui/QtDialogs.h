// The Dialogs port on Qt's message boxes, the notice and the file dialogs.
#pragma once

#include <QPointer>
#include <QWidget>

#include "ports/Ports.h"

namespace korvel::ui {

class QtDialogs : public Dialogs {
  public:
    explicit QtDialogs(QWidget* parent) : parent_(parent) {}

    void Message(const char* text, const char* caption) override;
    void Notice(const char* line1, const char* line2) override;
    bool OpenFileName(FileDialogRequest& request, char* path, size_t size) override;
    int32_t ChooseItem(const char* title, const char* prompt, const char* const* items,
                       int32_t count, int32_t selected) override;
    bool SaveFileName(FileDialogRequest& request, char* path, size_t size) override;

  private:
    bool AskFileName(bool save, FileDialogRequest& request, char* path, size_t size);

    QPointer<QWidget> parent_;
};

}  // namespace korvel::ui
