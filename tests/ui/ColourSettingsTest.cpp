// The two colour settings on their targets: built-in colours without stored
// values, stored colours at start, and a pick that recolours and writes at
// once. The restart is tried in the main window itself.
#include "ui/ColourSettings.h"
#include "models/SettingsStore.h"
#include "ui/ColourPicker.h"
#include "ui/MessageViewer.h"

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

using namespace qb;
using namespace qb::ui;

namespace {

// The controls one window gives the colour settings.
struct Window {
    explicit Window(SettingsStore& store)
        : background(Colour::Lime), text(Colour::WindowText),
          settings(store, {&tree, &list, &viewer}, &background, &text) {
        settings.applyStoredColours();
    }
    QColor backgroundOf(QWidget& w) const { return w.palette().color(QPalette::Base); }
    QColor textOf(QWidget& w) const { return w.palette().color(QPalette::Text); }

    QTreeWidget tree;
    QTableView list;
    MessageViewer viewer;
    ColourPicker background;
    ColourPicker text;
    ColourSettings settings;
};

const QColor Lime(0, 255, 0);

} // namespace

class ColourSettingsTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("q.conf")));
    }

    void withoutStoredColoursTheBuiltInOnesStayAndNothingIsWritten() {
        Window w(*m_store);
        const QColor windowText = QApplication::palette().color(QPalette::Text);
        for (QWidget* target : {static_cast<QWidget*>(&w.tree), static_cast<QWidget*>(&w.list),
                                static_cast<QWidget*>(&w.viewer)})
            QCOMPARE(w.backgroundOf(*target), Lime);
        QCOMPARE(w.textOf(w.tree), windowText);
        QCOMPARE(w.textOf(w.list), windowText);
        QCOMPARE(w.textOf(w.viewer), QColor(Qt::black));
        QCOMPARE(w.viewer.marginInk(), windowText);
        QCOMPARE(w.background.colour(), Colour::Lime);
        QCOMPARE(w.background.currentText(), QStringLiteral("clLime"));
        QCOMPARE(w.text.colour(), Colour::WindowText);
        QVERIFY(!m_store->contains(Setting::Background));
        QVERIFY(!m_store->contains(Setting::Text));
    }

    void storedColoursApplyAtStartAndUnreadableOnesAreIgnored() {
        m_store->setText(Setting::Background, QStringLiteral("$00FF8000"));
        m_store->setText(Setting::Text, QStringLiteral("clNavy"));
        {
            Window w(*m_store);
            QCOMPARE(w.backgroundOf(w.viewer), QColor(0, 0x80, 0xFF));
            QCOMPARE(w.backgroundOf(w.tree), QColor(0, 0x80, 0xFF));
            QCOMPARE(w.textOf(w.list), QColor(0, 0, 128));
            QCOMPARE(w.textOf(w.viewer), QColor(0, 0, 128));
            QCOMPARE(w.viewer.marginInk(), QColor(0, 0, 128));
            QCOMPARE(w.background.colour(), 0x00FF8000u);
            QCOMPARE(w.background.currentText(), QStringLiteral("$00FF8000"));
            QCOMPARE(w.text.colour(), 0x00800000u);
        }
        m_store->setText(Setting::Background, QStringLiteral("lime green"));
        Window w(*m_store);
        QCOMPARE(w.backgroundOf(w.list), Lime);
        QCOMPARE(w.background.colour(), Colour::Lime);
        QCOMPARE(m_store->text(Setting::Background).value_or(QString()),
                 QStringLiteral("lime green")); // left as it was
    }

    void aPickRecoloursItsFourTargetsAndIsWrittenAtOnce() {
        Window w(*m_store);
        const int red = w.background.findText(QStringLiteral("clRed"));
        QVERIFY(red > 0);
        w.background.setCurrentIndex(red);
        emit w.background.activated(red);
        for (QWidget* target : {static_cast<QWidget*>(&w.tree), static_cast<QWidget*>(&w.list),
                                static_cast<QWidget*>(&w.viewer)})
            QCOMPARE(w.backgroundOf(*target), QColor(255, 0, 0));
        QCOMPARE(m_store->text(Setting::Background).value_or(QString()), QStringLiteral("clRed"));
        QVERIFY(!m_store->contains(Setting::Text));

        // A colour of one's own, from the colour dialog; cancelling it changes nothing.
        std::optional<QColor> answer;
        w.text.setCustomColourSource([&](const QColor&) { return answer; });
        emit w.text.activated(w.text.customEntry());
        QCOMPARE(w.text.colour(), Colour::WindowText);
        QVERIFY(!m_store->contains(Setting::Text));
        answer = QColor(0x12, 0x34, 0x56);
        emit w.text.activated(w.text.customEntry());
        for (QWidget* target : {static_cast<QWidget*>(&w.tree), static_cast<QWidget*>(&w.list),
                                static_cast<QWidget*>(&w.viewer)})
            QCOMPARE(w.textOf(*target), *answer);
        QCOMPARE(w.viewer.marginInk(), *answer);
        QCOMPARE(m_store->text(Setting::Text).value_or(QString()), QStringLiteral("$00563412"));
        QCOMPARE(w.text.currentText(), QStringLiteral("$00563412"));
    }

    void systemAndDefaultColoursFollowTheDesktop() {
        Window w(*m_store);
        w.settings.pickBackground(0xFF000005); // clWindow
        QCOMPARE(w.backgroundOf(w.tree), QApplication::palette().color(QPalette::Base));
        QCOMPARE(m_store->text(Setting::Background).value_or(QString()),
                 QStringLiteral("clWindow"));
        emit w.text.activated(0); // the default entry: the built-in text colour
        QCOMPARE(m_store->text(Setting::Text).value_or(QString()), QStringLiteral("clWindowText"));
    }

    void anUnwritableStoreStillRecolours() {
        const QString blocked = m_dir->filePath(QStringLiteral("blocked.conf"));
        QVERIFY(QDir().mkpath(blocked));
        SettingsStore store(blocked);
        Window w(store);
        w.settings.pickBackground(0x00FFFF00);
        QCOMPARE(w.backgroundOf(w.tree), QColor(0, 255, 255));
    }

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_store;
};

QTEST_MAIN(ColourSettingsTest)
#include "ColourSettingsTest.moc"
