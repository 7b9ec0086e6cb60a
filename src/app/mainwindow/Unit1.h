#pragma once

#include "app/desktop/Environment.h"
#include "app/desktop/FileDialog.h"
#include "app/desktop/Guard.h"
#include "app/mainwindow/AccessibleTexts.h"
#include "app/mainwindow/ControlNames.h"
#include "app/mainwindow/FigureTips.h"
#include "app/mainwindow/NameRegistry.h"
#include "app/memo/HistoryMemo.h"
#include "app/widgets/Controls.h"
#include "app/widgets/PageControl.h"
#include "common/Error.h"
#include "history/Recovery.h"
#include "history/SpinHistory.h"
#include "history/SpinSource.h"
#include "history/TableSet.h"
#include "settings/AuxilaryUnit.h"
#include "settings/SettingsLocation.h"

#include <QAction>
#include <QMainWindow>
#include <QStringView>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QCheckBox;
class QCloseEvent;
class QDragEnterEvent;
class QDropEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPixmap;
class QTimer;
class QToolBar;

namespace trevolo {

class EntryPadForm;
class HelpForm;
struct NumberGridNames;

class AnalysisForm;
struct ReportContent;
class SystemForm;
class TablesBar;
class TablesForm;

// The main window, Form1: the history column, the five pages, the status bar
// and the menus, every control kept under its name in the name registry.
// Its handlers run through Guard, so an error ends the handler and shows the
// standard error box.
class TForm1 : public QMainWindow
{
    Q_OBJECT

public:
    // The settings document and the random spin source live for the whole
    // run, from before the window to after it (see Project1).
    TForm1(Environment &environment, TINIView &settingsDocument, SpinSource &spinSource,
           QWidget *parent = nullptr);
    ~TForm1() override;

    // The statistics pass: reads the history (ListBox1) and the alarm
    // threshold (Edit1) and writes every statistics control. When the
    // threshold does not convert it stops after the indicator images with
    // ConvertError, leaving the status bar, the counts and Edit13 as they were.
    void Calc();

    // Creation and destruction handlers: load "default.ini" from the
    // settings folder and apply it, and save the document back there. The
    // program start runs them through Guard (Project1). Unit1Settings.cpp.
    void FormCreate();
    void FormDestroy();
    // "Загрузить настройки" and "Сохранить настройки". Unit1Settings.cpp.
    void N14Click();
    void N13Click();
    // Window options: always on top, transparency, opacity. Unit1Settings.cpp.
    void CheckBox2Click();
    void CheckBox1Click();
    void TrackBar1Change();
    // Risk levels: the slider pairs and the presets. Unit1Risk.cpp.
    void TrackBarRiskLevelChange1();
    void TrackBarRiskLevelChange2();
    void ComboBox1Change();
    // Interface language "Русский" and "English". Unit1Language.cpp.
    void N11Click();
    void N12Click();

    // Whether transparency is on, and the window's alpha value 0..255 that
    // shows while it is.
    bool AlphaBlend() const { return m_alphaBlend; }
    int AlphaBlendValue() const { return m_alphaBlendValue; }

    // Runs a handler; an escaping error is shown in the standard error box.
    template <typename F>
    void Guard(F &&handler) noexcept
    {
        RunGuarded(m_environment, this, std::forward<F>(handler));
    }

    // The control or menu item of that name (case-blind), or nullptr.
    QObject *FindComponent(QStringView name) const { return m_registry.Find(name); }
    template <typename T>
    T *FindComponentAs(QStringView name) const
    {
        return m_registry.FindAs<T>(name);
    }
    const NameRegistry &Registry() const { return m_registry; }

    Environment &environment() const { return m_environment; }
    TINIView &SettingsDocument() const { return m_settingsDocument; }
    SpinSource &Spins() const { return m_spinSource; }
    // The spins of the history the memo shows, which the child windows
    // follow themselves.
    const SpinHistory &History() const { return m_tables.Current().history; }
    // The tables, one history each; the current one is the one the window
    // shows. Unit1Tables.cpp.
    const TableSet &Tables() const { return m_tables; }
    // "Новый стол" (Ctrl+T): a new, empty table, made current; the 65th is
    // refused with a message.
    void N31Click();
    // "Переименовать стол..." (F2): the current table's name, asked for
    // until it is one the table may take, or cancelled.
    void N32Click();
    // "Закрыть стол" (Ctrl+F4): the current table goes, after the question
    // about its unsaved spins; the only table is cleared instead.
    void N33Click();
    // "Обзор столов" (Ctrl+Shift+O): the overview of the tables, made on
    // first use, or raised.
    void N34Click();
    // The window shows that table from now on, with its text, caret,
    // selection, scroll and Undo as they were left; every command and child
    // window works on it.
    void SelectTable(int index);
    // The next (or previous) table, round the end.
    void SelectNextTable(bool forward);
    // Closes the table at `index` as N33Click does the current one; false
    // when the question about its spins was answered Отмена.
    bool CloseTable(int index);
    // The tables bar, or nullptr while there has never been a second table.
    TablesBar *tablesBar() const { return m_tablesBar; }
    // The overview, or nullptr before its first opening.
    TablesForm *tablesForm() const { return m_tablesForm; }

    // History commands. Unit1History.cpp.
    void N1Click();   // "Очистить": empty the history
    void N51Click();  // append 5 random spins
    void N101Click(); // append 10
    void N251Click(); // append 25
    void N501Click(); // append 50
    void N5Click();   // load the history from a file chosen in OpenDialog2
    // The loading part of N5Click, also used for a file named on the command
    // line: the same messages on failure. The text it replaces is one Undo
    // step away, as is the one "Очистить" empties.
    void LoadHistoryFrom(const QString &path);
    // Files named on the command line or dropped on the window, one table
    // each: the first into the current table when `firstHere` (as one file
    // on the command line always was) or when that table is empty, every
    // other one into a new table. Unit1Tables.cpp.
    void OpenFiles(const QStringList &paths, bool firstHere);
    void N6Click(); // save it to a file chosen in SaveDialog2
    void N9Click(); // "Выход": close the window, which ends the program
    // "Панель ввода": opens the entry pad, or raises it; run from the pad
    // itself (its key pressed there), closes it.
    void N28Click();

    // The keyboard to the history memo, the caret at its end and the newest
    // line in view, so a spin can be typed at once: after the start, a load,
    // "Очистить" (and whatever else puts a whole history in place).
    void FocusHistoryEnd();

    // Appends one spin (a wheel number 0..36) to the history as a new last
    // line, by the same rule as the generator: one change of the memo, so one
    // statistics pass. Any other number is ignored. The entry pad calls it.
    void EnterSpin(int number);
    // The entry pad once it has been opened, else nullptr.
    EntryPadForm *EntryPad() const { return m_entryPad; }

    // Whether the window may close: true when the history is as it was
    // after the last load, save or clear (empty at start); otherwise the
    // answer to "Сохранить последовательность?": Да saves through N6Click's
    // dialog and is true only once the file is written, Нет is true, Отмена
    // false. Unit1Close.cpp.
    bool MayClose();
    // The same for every table with unsaved spins in turn, each made current
    // while asked about, "«<name>»" added to the question while there are
    // two tables or more; false at the first Отмена.
    bool MayCloseAll();

    // The recovery file: the history as the window shows it, kept in the
    // state folder (RecoveryStore) so that a crash, a kill or a power cut
    // loses no spin. Unit1Recovery.cpp.
    //
    // At start, after the settings and before a file named on the command
    // line (which opens after the question, and keeps a recovered text it
    // replaces as any load does): opens this run's recovery file (a folder that cannot be used is
    // said once, and the window runs without) and offers what runs that
    // ended without saving left, newest first: "Восстановить несохранённую
    // последовательность?". Да shows that text as one change, unsaved, the
    // caret at its end; the other left-overs then wait for a later start.
    // Нет keeps it as a discarded file.
    void StartRecovery();
    // From then on every change reaches the file within RecoveryDelayMs
    // (the timer is not restarted by further changes): the text when it
    // differs from what was last loaded, saved or cleared, else the file goes.
    static constexpr int RecoveryDelayMs = 500;
    // What the timer does, at once.
    void KeepForRecovery();
    // The store, or nullptr before StartRecovery or without a usable folder.
    RecoveryStore *Recovery() const { return m_recovery.get(); }
    // The program is to end without questions (a termination signal): the
    // change waiting for the timer goes to the recovery file now, and the
    // file stays for the next start. Closing the window asks nothing from now
    // on; destroying the window writes any later change as well.
    void CloseWithoutQuestions();
    bool ClosingWithoutQuestions() const { return m_closingWithoutQuestions; }
    // Stake calculator, on every change of Edit2 or Edit3. Unit1Calculator.cpp.
    void Edit2Change();
    // "Как читать показатели" (F1): the built-in help window, made on first
    // use, or raised, at the part about the active window or the main
    // window's page. Unit1Help.cpp.
    void N30Click();
    // The help at that anchor, and F1 in a child window opening it at its own.
    void OpenHelp(const QString &anchor);
    void AddHelpKeyTo(QWidget &window, const QString &anchor);
    // The help window, or nullptr before its first opening.
    HelpForm *helpForm() const { return m_helpForm; }
    // Help and web links: one address each to the desktop. Unit1Links.cpp.
    void N20Click(); // program help page
    void N23Click(); // playing systems page
    void N15Click(); // new versions page
    void N8Click();  // mail to the maker
    void N25Click(); // the partner's registration page
    // "Анализ последовательности...": opens the analysis window, made on
    // first use, or raises it. Unit1Analysis.cpp.
    void N27Click();
    // The analysis window, or nullptr before its first opening.
    AnalysisForm *analysisForm() const { return m_analysisForm; }
    // "Проверка системы...": opens the system tester, made on first use with
    // the calculator's first stake and multiplier, or raises it.
    // Unit1System.cpp.
    void N29Click();
    // The system tester, or nullptr before its first opening.
    SystemForm *systemForm() const { return m_systemForm; }
    // "Импорт...": the open-file dialog, then the import form (window
    // modal, shown when this returns); its OK adds the spins as one change.
    // Unit1Import.cpp.
    void N36Click();
    // Adds imported spins, oldest first, as one change that one Undo takes
    // back: at the end of the history, or in its place. False when the
    // player cancelled the building of the new history.
    bool AddImportedSpins(const std::vector<quint8> &spins, bool replace);
    // "Экспорт...": the spins of the history to a file in the format the
    // save dialog's filter names; a message says how many went and how many
    // lines without a spin were left out. Unit1Import.cpp.
    void N37Click();
    // "Отчёт...": asks whether to open the report once written (remembered
    // in the settings), then for the file; writes the analysis window's
    // figures (opened for it when hidden) as a PDF. Unit1Report.cpp.
    void N38Click();
    void WriteReport(bool openAfterSave);

    // The risk boundaries as the four sliders stand.
    RiskBoundaries CurrentBoundaries() const;
    // The tooltips of the figures (rows, counts, Edit13, the status bar).
    const TFigureTips &FigureTips() const { return *m_figureTips; }

    // Controls that handlers address directly.
    THistoryMemo *listBox1 = nullptr;
    QLineEdit *edit13 = nullptr;
    TPageControl *pageControl1 = nullptr;
    TTabSheet *tabSheet1 = nullptr; // "Комбинации"
    TTabSheet *tabSheet2 = nullptr; // "Не выпадения"
    TTabSheet *tabSheet4 = nullptr; // "Выпадения"
    TTabSheet *tabSheet3 = nullptr; // "Настройки"
    TTabSheet *tabSheet6 = nullptr; // "Калькулятор"
    TStatusBar *statusBar1 = nullptr;

    QLineEdit *edit1 = nullptr; // alarm threshold

    QCheckBox *checkBox1 = nullptr; // transparency
    QCheckBox *checkBox2 = nullptr; // always on top
    TTrackBar *trackBar1 = nullptr; // opacity
    QLabel *label45 = nullptr;      // opacity in percent
    TComboBox *comboBox1 = nullptr; // risk preset
    TTrackBar *trackBar2 = nullptr; // 18/37 lower boundary
    TTrackBar *trackBar3 = nullptr; // 18/37 upper boundary
    TTrackBar *trackBar4 = nullptr; // 12/37 lower boundary
    TTrackBar *trackBar5 = nullptr; // 12/37 upper boundary
    QLabel *label51 = nullptr;
    QLabel *label52 = nullptr;
    QLabel *label198 = nullptr;
    QLabel *label199 = nullptr;
    QPlainTextEdit *memo1 = nullptr; // risk preset description

    QLineEdit *edit2 = nullptr; // minimum stake
    QLineEdit *edit3 = nullptr; // multiplier
    QPlainTextEdit *memo2 = nullptr;
    QLineEdit *edit4 = nullptr, *edit5 = nullptr, *edit6 = nullptr, *edit7 = nullptr;
    QLineEdit *edit8 = nullptr, *edit9 = nullptr, *edit10 = nullptr, *edit11 = nullptr;
    QLineEdit *edit12 = nullptr; // required sum

    QMenuBar *mainMenu1 = nullptr;
    QMenu *n3 = nullptr, *n4 = nullptr, *n7 = nullptr, *n24 = nullptr, *n18 = nullptr;
    QAction *n5 = nullptr, *n6 = nullptr, *n16 = nullptr, *n52 = nullptr, *n102 = nullptr;
    QAction *n252 = nullptr, *n502 = nullptr, *n27 = nullptr, *n28 = nullptr, *n29 = nullptr;
    QAction *n9 = nullptr, *n36 = nullptr, *n37 = nullptr, *n38 = nullptr;
    QAction *n31 = nullptr, *n32 = nullptr, *n33 = nullptr, *n34 = nullptr;
    QAction *n11 = nullptr, *n12 = nullptr, *n14 = nullptr, *n13 = nullptr;
    QAction *n30 = nullptr, *n25 = nullptr, *n20 = nullptr, *n23 = nullptr, *n15 = nullptr,
            *n8 = nullptr;
    QMenu *popupMenu1 = nullptr;
    QAction *n1 = nullptr, *n51 = nullptr, *n101 = nullptr, *n251 = nullptr, *n501 = nullptr;

    TFileDialog *openDialog1 = nullptr; // settings file to load
    TFileDialog *saveDialog1 = nullptr; // settings file to save
    TFileDialog *openDialog2 = nullptr; // history file to load
    TFileDialog *saveDialog2 = nullptr; // history file to save

Q_SIGNALS:
    // After every change of the current table's text.
    void currentHistoryEdited();

protected:
    // Closing by the close box, "Выход", Ctrl+Q or the application's quit:
    // refused when MayClose says so. Unit1Close.cpp.
    void closeEvent(QCloseEvent *event) override;
    // Files dropped on the window open as tables (OpenFiles).
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The history text as a length and a hash: enough to tell at closing
    // whether it changed, without keeping a copy. Unit1Close.cpp.
    struct HistoryMark
    {
        qsizetype length = 0;
        size_t hash = 0;
    };
    static HistoryMark MarkOf(QStringView history);
    static bool SameMark(const HistoryMark &a, const HistoryMark &b)
    {
        return a.length == b.length && a.hash == b.hash;
    }
    // Remembers this history text (THistoryMemo::Text) as saved.
    void MarkHistorySaved(QStringView history) { SetSavedHistory(MarkOf(history)); }
    // The same with its mark; the recovery file follows.
    void SetSavedHistory(const HistoryMark &mark);
    // Starts the recovery timer unless it runs. Unit1Recovery.cpp.
    void ScheduleRecovery();
    // `replaced`, the text shown, is about to be replaced by `by`: unless it
    // is empty, saved or kept already, it is kept for recovery until the
    // program ends normally. Unit1Recovery.cpp.
    void KeepReplacedText(const QString &replaced, const Replacement &by);
    bool IsKeptReplaced(const HistoryMark &mark) const;
    // The outcome of a write of the recovery store (0, or the system's error
    // number): a failure is said once, in the status bar and a message box,
    // and again only after a write has succeeded in between.
    void RecoveryWritten(int error);
    // Shows a left-over history as a recovered one; false when the user
    // cancelled its loading. Unit1Recovery.cpp.
    bool Recover(LeftOverHistory &leftOver);
    // At start, after the left-overs: every save in place that did not
    // finish (its copy still in the state folder) is told, "Сохранение в
    // «<file>» было прервано. Восстановить прежнее содержимое файла?": Да
    // writes the copy back, Нет keeps the file as it is and the copy as a
    // discarded file. Unit1Recovery.cpp.
    void OfferInterruptedSaves();
    // Saves the history through SaveDialog2; false when the dialog was
    // cancelled. Unit1History.cpp.
    bool SaveHistory();
    // Asks about an unsaved history also when the desktop session ends.
    void ConnectClose(); // Unit1Close.cpp

    // Construction, one builder per part of the window.
    void BuildHistoryColumn(QWidget *client);                           // WindowLayout.cpp
    void BuildPageControl(QWidget *client);                             // WindowLayout.cpp
    void BuildStatusBar();                                              // WindowLayout.cpp
    void BuildDialogs();                                                // WindowLayout.cpp
    void BuildCombinationsPage(TTabSheet *page);                        // StatisticsPages.cpp
    void BuildAbsencePage(TTabSheet *page);                             // StatisticsPages.cpp
    void BuildOccurrencePage(TTabSheet *page);                          // StatisticsPages.cpp
    void BuildNumberGrid(QGroupBox *box, const NumberGridNames &names); // StatisticsPages.cpp
    void BuildSettingsPage(TTabSheet *page);                            // OptionPages.cpp
    void BuildCalculatorPage(TTabSheet *page);                          // OptionPages.cpp
    void BuildMenus();                                                  // Menus.cpp
    void ConnectEvents();
    void ConnectOptionEvents(); // Unit1Settings.cpp

    // Copies the template pictures into the indicator grid. Unit1Risk.cpp.
    void ApplyRiskColours();
    // The window options and the preset from the document. Unit1Settings.cpp.
    void ApplySettings();
    void WriteWindowOptions();
    // Where "default.ini" is read and written, decided at the first call;
    // a problem with the per-user folder is shown then. Unit1Settings.cpp.
    const SettingsLocation &SettingsPlace();
    void ApplyOpacity();
    // Captions from a language section of the document. Unit1Language.cpp.
    void ApplyLanguage(QStringView sectionName);
    void ApplyLanguageEntry(const QString &key, const QString &value);

    // Names and registers an object; it must be new to the registry.
    template <typename T>
    T *Named(T *object, QStringView name)
    {
        object->setObjectName(name.toString());
        m_registry.Add(object);
        return object;
    }

    // Common control makers: a named, registered control at a position.
    QLabel *MakeLabel(QWidget *parent, QStringView name, const QString &caption, int x, int y);
    QGroupBox *MakeGroupBox(QWidget *parent, QStringView name, const QString &caption, int top,
                            int height);
    QFrame *MakeBevel(QWidget *parent, QStringView name, const QRect &geometry);
    QLineEdit *MakeEdit(QWidget *parent, QStringView name, const QString &text,
                        const QRect &geometry);
    TImage *MakeImage(QWidget *parent, QStringView name, const QPixmap &picture, int x, int y);

    // Found by name; a missing control is an error, not a crash.
    template <typename T>
    T &Component(QStringView name) const
    {
        T *object = m_registry.FindAs<T>(name);
        if (!object)
            throw Error(QStringLiteral("Component %1 not found").arg(name));
        return *object;
    }

    // Wiring of the commands, the calculator and the links.
    void ConnectHistoryCommands(); // Unit1History.cpp
    void ConnectCalculator();      // Unit1Calculator.cpp
    void ConnectLinks();           // Unit1Links.cpp
    void ConnectAnalysis();        // Unit1Analysis.cpp
    void ConnectSystem();          // Unit1System.cpp
    void ConnectImport();          // Unit1Import.cpp
    void ConnectReport();          // Unit1Report.cpp
    void ConnectTables();          // Unit1Tables.cpp

    // What the window keeps of each table besides its history: the memo
    // that shows it and the marks of its saved and declined texts. The
    // current table's marks live in m_savedHistory and m_declinedHistory
    // while it is current. In the order of m_tables.
    struct TablePage
    {
        THistoryMemo *memo = nullptr;
        HistoryMark saved;
        std::optional<HistoryMark> declined;
        // Its recovery file and what it holds; the current table's are in
        // m_recovery, m_recoveryHolds and m_keptReplaced.
        std::unique_ptr<RecoveryStore> recovery;
        std::optional<HistoryMark> recoveryHolds;
        std::vector<HistoryMark> keptReplaced;
    };
    // A recovery file for another table, of this run, reporting here; null
    // without recovery.
    std::unique_ptr<RecoveryStore> OpenTableRecovery();
    // Every table's recovery file that holds a text says the table's place
    // and name as they are now (with one table, none).
    void LabelRecoveryFiles();
    // The left-overs of the newest run that left several tables, asked
    // about together; true when they were restored. Unit1Recovery.cpp.
    bool OfferTables(std::vector<LeftOverHistory> &leftOvers);
    // A memo for the table's history, in the history column, hidden.
    THistoryMemo *MakeMemo(SpinHistory &history);
    // The bar as the tables stand: shown from two tables on (the window
    // grows by it), each tab's name, unsaved mark and alarm mark.
    void RefreshTablesBar();
    // The name the child windows add to their titles: none with one table.
    QString TitleTableName() const;
    // Tells every child window which history to follow.
    void FollowCurrentTable();
    // Whether the memo's text is the saved one or the declined one.
    static bool Unchanged(const THistoryMemo &memo, const HistoryMark &saved,
                          const std::optional<HistoryMark> &declined);
    // Whether the table's text is neither saved nor declined.
    bool PageUnsaved(int index);
    // The current table's unsaved flag from its text, and the bar.
    void MarkCurrentUnsaved();
    // The current table's name given to it by a load or a save of `path`,
    // when it has the name a new table gets.
    void NameTableAfterFile(const QString &path);
    std::vector<TablePage> m_pages;
    // Reports the outcome of the store's writes to the window.
    void ReportRecoveryTo(RecoveryStore &store);
    QToolBar *m_tablesHolder = nullptr; // holds the bar, made with it
    TablesBar *m_tablesBar = nullptr;
    TablesForm *m_tablesForm = nullptr; // a child window, made on first use
    // The report of what the analysis window (and the system tester) show.
    ReportContent ReportOfTheWindows();
    // A slot that runs the handler through Guard.
    auto Guarded(void (TForm1::*handler)())
    {
        return [this, handler] { Guard([this, handler] { (this->*handler)(); }); };
    }
    // Runs the handler through Guard whenever the menu item is chosen.
    void OnClick(QAction *item, void (TForm1::*handler)())
    {
        connect(item, &QAction::triggered, this, Guarded(handler));
    }

    Environment &m_environment;
    TINIView &m_settingsDocument;
    SpinSource &m_spinSource;
    // One history per table, each fed by its memo; outlives the memos and
    // every child window (see ~TForm1).
    TableSet m_tables;
    NameRegistry m_registry;
    // Accessible names of edits, sliders, counts and indicator rows.
    TAccessibleTexts m_accessibleTexts;
    TFigureTips *m_figureTips = nullptr; // a child, made before the pages
    HistoryMark m_savedHistory = MarkOf(QStringView());
    // A text the user chose not to save when the session was ending.
    std::optional<HistoryMark> m_declinedHistory;
    EntryPadForm *m_entryPad = nullptr; // made on first use, owned as a child
    std::optional<SettingsLocation> m_settingsPlace;
    // The start-up load of the settings file failed: the exit leaves the
    // file as it is. Unit1Settings.cpp.
    bool m_settingsUnread = false;
    std::unique_ptr<RecoveryStore> m_recovery;
    QTimer *m_recoveryTimer = nullptr;
    // The text the recovery file was last given, while it may be there.
    std::optional<HistoryMark> m_recoveryHolds;
    // The replaced texts kept for recovery in this run.
    std::vector<HistoryMark> m_keptReplaced;
    bool m_recoveryFailing = false;
    bool m_closingWithoutQuestions = false;
    AnalysisForm *m_analysisForm = nullptr; // a child window, made on first use
    SystemForm *m_systemForm = nullptr;     // a child window, made on first use
    HelpForm *m_helpForm = nullptr;         // a child window, made on first use
    bool m_alphaBlend = false;
    int m_alphaBlendValue = 255;
};

} // namespace trevolo
