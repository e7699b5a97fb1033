#pragma once
// The export template's editor: the user changes Normal.htm, resets it to the
// built-in default, and saves it. Created once and reused, so an unsaved text
// survives a close when there is no template file to reload.
#include <QDialog>
#include <QString>

class QPushButton;
class QsciScintilla;

namespace qb::ui {

class TemplateEditor : public QDialog {
    Q_OBJECT
  public:
    explicit TemplateEditor(const QString& workDir, QWidget* parent = nullptr);

    // Loads the template file when there is one and shows the editor modally;
    // a template that cannot be read is reported and the editor stays closed.
    void openTemplate();
    // The loading part of openTemplate(): false when the file cannot be read.
    bool loadTemplate();

    QsciScintilla* textEditor() const { return m_text; }

  public slots:
    void resetToDefault();
    void saveTemplate();

  private:
    void setLines(const std::vector<std::string>& lines);

    QString m_workDir;
    QsciScintilla* m_text = nullptr;
    QPushButton* m_resetButton = nullptr;
    QPushButton* m_saveButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};

} // namespace qb::ui
