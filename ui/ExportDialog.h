#pragma once
// The export dialog: the split option, the save-file dialog and the progress of
// the export. Created once, so the split option and the last file name and
// filter carry over from one export to the next.
#include "controllers/ListController.h"
#include "core/Progress.h"
#include "export/ExportRun.h"
#include "ui/StatusProgress.h"

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QProgressBar;
class QPushButton;

namespace qb {
class ExportController;
} // namespace qb

namespace qb::ui {

class TemplateEditor;

struct SaveChoice {
    QString fileName;
    ExportFormat format = ExportFormat::Html;
};

class ExportDialog : public QDialog {
    Q_OBJECT
  public:
    // The export runs through `exporter`, which also reports its failures.
    ExportDialog(const QString& workDir, TemplateEditor* editor, ExportController& exporter,
                 QWidget* parent = nullptr);
    ~ExportDialog() override;

    // Sets the mode and refills the sizes; open() then shows the dialog.
    void prepare(ExportMode mode, ExportSource source);
    // Shows the save-file dialog and passes on the choice, none when the user
    // cancels. Tests replace it.
    using SaveAnswer = std::function<void(std::optional<SaveChoice>)>;
    std::function<void(SaveAnswer)> askFileName;

  public slots:
    void saveMessages();

  private:
    void buildLayout();
    // The word after the size agrees with it where the language wants that.
    void showSplitUnit();
    void openSaveDialog(SaveAnswer answer);
    void saveDialogFinished(int result);
    void saveTo(const std::optional<SaveChoice>& choice);
    int chosenSplitSize() const;
    void startExport(const SaveChoice& choice, std::vector<std::string> templateLines);
    void exportFinished(bool written);

    QString m_workDir;
    TemplateEditor* m_editor;
    ExportController& m_exporter;
    ExportMode m_mode = ExportMode::All;
    ExportSource m_source;
    QCheckBox* m_splitCheckBox = nullptr;
    QComboBox* m_splitSizeBox = nullptr;
    QLabel* m_splitUnitLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_templateButton = nullptr;
    std::unique_ptr<QFileDialog> m_saveDialog;
    QString m_lastFileName;
    SaveAnswer m_saveAnswer;
    std::unique_ptr<StatusProgress> m_progress;
};

} // namespace qb::ui
