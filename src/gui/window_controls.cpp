#include "gui/window_controls.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <iterator>

#include "gui/file_list_view.h"
#include "gui/program_picture.h"
#include "shell/commands.h"

namespace {

enum class Kind {
    Heading,      // white on black, Courier New
    Label,        // the dialog font
    FrameTitle,   // a label on a section frame's top line, which stops at it
    NameLabel,    // a file or folder name, fixed pitch
    ProgramName,  // Courier 9.75 pt
    Picture,      // a 32 x 32 picture
    ProgressBar,  // a light blue bar without caption
    Button,
    Option,        // an option button of the pair
    ChosenOption,  // the option button chosen at start
    CheckBox,
    FileList,      // List1
    PatternField,  // the select-by-pattern field: Enter selects the matching lines
    StatusLine,    // read-only, button-face background, fixed pitch
    LogView,       // multi-line, fixed pitch, not wrapped
    Panel,         // holds every control listed after it
    Shape,         // a section rectangle
};

// What the window does with a control besides showing it.
enum class Role {
    None,
    FileList,
    PatternField,
    ItemCount,
    StatusLine,
    LogView,
    OptionsPanel,
    ProgressBar,
    ArchiveName,
    PackFolder,
    AutoAddOption,
    CompressAllOption,
    NoTabStop,  // its one switched-off design attribute: the Tab key passes over it
};

struct ControlRow {
    Kind kind;
    const char* name;
    Rect twips;  // inside the window, or inside the panel for the rows after it
    const char* caption;
    Command command = nullptr;
    Role role = Role::None;
};

// In building order, which is also the tab order; each control lies over those before it, so
// the section rectangles come before the titles and "?" buttons on their top strips.
// clang-format off
using enum Kind;
const ControlRow kControls[] = {
    {Heading,      "Label1",                      {120, 120, 1815, 255},    "File List"},
    {PatternField, "txtSelectPattern",            {2040, 120, 3615, 255},   "", nullptr, Role::PatternField},
    {Button,       "butSelectAll",                {5760, 120, 1455, 255},   "Select All", SelectAll},
    {Label,        "Label2",                      {7920, 120, 1095, 255},   "0 Items", nullptr, Role::ItemCount},
    {FileList,     "List1",                       {120, 360, 8895, 4845},   "", nullptr, Role::FileList},
    {StatusLine,   "Text1",                       {120, 5280, 8895, 285},   "", nullptr, Role::StatusLine},
    {LogView,      "RichTextBox1",                {120, 5640, 8895, 2175},  "", nullptr, Role::LogView},
    {Panel,        "Frame1",                      {9120, 0, 3735, 7815},    "Options", nullptr, Role::OptionsPanel},
    {Shape,        "Shape1",                      {120, 480, 3495, 1935},   ""},
    {Shape,        "Shape2",                      {120, 2640, 3495, 2775},  ""},
    {Shape,        "Shape4",                      {120, 5640, 3495, 855},   ""},
    {Shape,        "Shape5",                      {240, 3720, 3255, 735},   ""},
    {ProgressBar,  "Label9",                      {120, 120, 3495, 255},    "", nullptr, Role::ProgressBar},
    {Heading,      "Label10",                     {120, 480, 3495, 255},    "          File Extractor"},
    {Button,       "butFileExtractorQuestion",    {3360, 480, 255, 255},    "?", ShowExtractorHelp},
    {Button,       "butSelectMPAKfile",           {240, 840, 1935, 255},    "Open Game .MPAK File", SelectMPAKfile},
    {NameLabel,    "Label5",                      {240, 1080, 3255, 255},   "", nullptr, Role::ArchiveName},
    {Button,       "butMassExtract",              {240, 1440, 2055, 375},   "Extract Selected File(s)", MassExtract},
    {Button,       "butOpenFolder",               {2400, 1440, 1095, 375},  "Open Folder", OpenExtractorFolder},
    {Button,       "butGetModelGraphics",         {240, 1920, 1695, 375},   "List Model Graphics", GetModelGraphics},
    {Button,       "butDecompressMPKG",           {2040, 1920, 1455, 375},  "Unpack .MPKG", DecompressMPKG, Role::NoTabStop},
    {Heading,      "Label11",                     {120, 2640, 3495, 255},   "   File Packer (Make an MPAK)"},
    {Button,       "butFilePackerQuestion",       {3360, 2640, 255, 255},   "?", ShowPackerHelp},
    {Button,       "butSelectMPAKFolder",         {240, 3000, 1935, 255},   "Select .MPAK Folder", SelectMPAKFolder},
    {Button,       "butUpdateMPAK",               {2280, 3000, 1215, 255},  "Update .MPAK", UpdateMPAK},
    {NameLabel,    "Label13",                     {240, 3240, 3255, 255},   "", nullptr, Role::PackFolder},
    {FrameTitle,   "Label6",                      {360, 3600, 2175, 255},   ".MPAK Sub Table of Contents"},
    {ChosenOption, "radAutoAddNewFiles",          {360, 3840, 2895, 255},   "Auto-add new files to .MPAK STOC", nullptr, Role::AutoAddOption},
    {Option,       "radIWillMaintainLibrarySTOC", {360, 4080, 2895, 255},   "I will maintain the Library .stoc"},
    {CheckBox,     "chkCompressAllFiles",         {480, 4560, 2400, 255},   "Force compression of all files", nullptr, Role::CompressAllOption},
    {Button,       "butPackMPAK",                 {240, 4920, 2055, 375},   "Pack New .MPAK", PackMPAK},
    {Button,       "butOpenNewMPAKsFolder",       {2400, 4920, 1095, 375},  "Open Folder", OpenNewMPAKsFolder},
    {Heading,      "Label4",                      {120, 5640, 3495, 255},   "  Sound File Conversion (.FSB)"},
    {Button,       "butSoundConversionQuestion",  {3360, 5640, 255, 255},   "?", ShowSoundHelp},
    {Button,       "butConvertFSB",               {240, 6000, 2055, 375},   "Convert .FSB", ConvertFSB},
    {Button,       "butOpenSoundsFolder",         {2400, 6000, 1095, 375},  "Open Folder", OpenSoundsFolder},
    {ProgramName,  "Label3",                      {120, 6720, 3615, 255},   "Vantrel Ripper"},
    {Picture,      "Image1",                      {120, 7080, 480, 480},    ""},
};
// clang-format on

// Fixed-pitch fonts keep 8 points where the dialog font is smaller.
QFont namedFont(const char* family, double points = 8) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(QFont::Monospace);
    font.setPointSizeF(points);
    return font;
}

QFont fixedPitch() { return namedFont("Lucida Console"); }

QLabel* label(QWidget* parent, const QString& caption, QColor background = {}, QColor text = {}) {
    auto* label = new QLabel(caption, parent);
    label->setTextFormat(Qt::PlainText);  // an archive named "<b>x.mpak" shows as named
    if (background.isValid()) {
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, background);
        if (text.isValid()) palette.setColor(QPalette::WindowText, text);
        label->setPalette(palette);
    }
    return label;
}

template <typename T>
T* withFont(T* control, const QFont& font) {
    control->setFont(font);
    return control;
}

QLabel* picture(QWidget* parent) {
    auto* image = new QLabel(parent);
    image->setPixmap(programPicture(32));
    return image;
}

QLineEdit* patternField(QWidget* parent) {
    auto* field = withFont(new QLineEdit(parent), fixedPitch());
    field->setPlaceholderText(QStringLiteral("Pattern, e.g. *.dds;sounds\\*"));
    field->setToolTip(
        QStringLiteral("Enter selects every line whose path matches: * any run of characters, "
                       "? one character, letter case ignored, several patterns separated by ;"));
    field->setAcceptDrops(false);  // a file dropped on it goes to the window
    return field;
}

QWidget* textControl(Kind kind, QWidget* parent) {
    if (kind == Kind::FileList) return withFont(new FileListView(parent), fixedPitch());
    if (kind == Kind::PatternField) return patternField(parent);
    if (kind == Kind::StatusLine) {
        auto* line = withFont(new QLineEdit(parent), fixedPitch());
        line->setReadOnly(true);
        line->setAcceptDrops(false);
        line->setStyleSheet(QStringLiteral("background-color: palette(button);"));
        return line;
    }
    auto* log = withFont(new QPlainTextEdit(parent), fixedPitch());
    log->setLineWrapMode(QPlainTextEdit::NoWrap);
    log->setAcceptDrops(false);  // a file dropped on it goes to the window
    return log;
}

QFrame* frame(QWidget* parent, QFrame::Shape shape, const QString& caption) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(shape);
    if (!caption.isEmpty()) frame->setAccessibleName(caption);
    return frame;
}

QWidget* makeControl(Kind kind, QWidget* parent, const QString& caption) {
    switch (kind) {
        case Kind::Heading:
            return withFont(label(parent, caption, Qt::black, Qt::white), namedFont("Courier New"));
        case Kind::Label:
            return label(parent, caption);
        case Kind::FrameTitle:
            return label(parent, caption, parent->palette().color(QPalette::Window));
        case Kind::NameLabel:
            return withFont(label(parent, caption), fixedPitch());
        case Kind::ProgramName:
            return withFont(label(parent, caption), namedFont("Courier", 9.75));
        case Kind::Picture:
            return picture(parent);
        case Kind::ProgressBar:
            return label(parent, caption, QColor(128, 128, 255));
        case Kind::Button:
            return new QPushButton(caption, parent);
        case Kind::Option:
            return new QRadioButton(caption, parent);
        case Kind::ChosenOption: {
            auto* option = new QRadioButton(caption, parent);
            option->setChecked(true);
            return option;
        }
        case Kind::CheckBox:
            return new QCheckBox(caption, parent);
        case Kind::FileList:
        case Kind::PatternField:
        case Kind::StatusLine:
        case Kind::LogView:
            return textControl(kind, parent);
        case Kind::Panel:
            return frame(parent, QFrame::NoFrame, caption);
        case Kind::Shape:
            return frame(parent, QFrame::Box, caption);
    }
    return nullptr;
}

// The control's kind (makeControl) gives its type.
void keep(WindowControls& controls, Role role, QWidget* control) {
    switch (role) {
        case Role::None: break;
        case Role::FileList: controls.fileList = static_cast<FileListView*>(control); break;
        case Role::PatternField: controls.patternField = static_cast<QLineEdit*>(control); break;
        case Role::ItemCount: controls.itemCount = static_cast<QLabel*>(control); break;
        case Role::StatusLine: controls.statusLine = static_cast<QLineEdit*>(control); break;
        case Role::LogView: controls.logView = static_cast<QPlainTextEdit*>(control); break;
        case Role::OptionsPanel: controls.optionsPanel = static_cast<QFrame*>(control); break;
        case Role::ProgressBar: controls.progressBar = static_cast<QLabel*>(control); break;
        case Role::ArchiveName: controls.archiveName = static_cast<QLabel*>(control); break;
        case Role::PackFolder: controls.packFolder = static_cast<QLabel*>(control); break;
        case Role::AutoAddOption: controls.autoAddOption = static_cast<QRadioButton*>(control); break;
        case Role::CompressAllOption: controls.compressAllOption = static_cast<QCheckBox*>(control); break;
        case Role::NoTabStop: control->setFocusPolicy(Qt::ClickFocus); break;
    }
}

}  // namespace

void place(QWidget* control, const Rect& twips) {
    control->setGeometry(pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height));
}

WindowControls buildControls(QWidget& window, const std::function<void(Command)>& run) {
    WindowControls controls;
    QWidget* parent = &window;
    for (const ControlRow& row : kControls) {
        QWidget* control = makeControl(row.kind, parent, QString::fromLatin1(row.caption));
        control->setObjectName(QString::fromLatin1(row.name));
        place(control, row.twips);
        if (auto* button = qobject_cast<QPushButton*>(control); button && row.command)
            QObject::connect(button, &QPushButton::clicked, &window, [run, command = row.command] { run(command); });
        if (row.kind == Kind::Panel) parent = control;
        keep(controls, row.role, control);
    }
    return controls;
}
