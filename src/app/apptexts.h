#pragma once

// The window's fixed texts, in UTF-8. They are shown by Qt directly; texts that
// come from the core (messages) arrive in the active code page instead and are
// decoded by QtMessages.

namespace orvo::app::texts {

// Window title of the application and the untitled document's name.
inline constexpr const char* kAppTitle = "ViewOrvo";
inline constexpr const char* kUntitled = "無題";

// Menus and their items; the part after "\t" is the accelerator shown.
inline constexpr const char* kFileMenu = "ﾌｧｲﾙ(&F)";
inline constexpr const char* kFileOpen = "開く(&O)...\tCtrl+O";
inline constexpr const char* kRecentFilePlaceholder = "最近使ったﾌｧｲﾙ";
inline constexpr const char* kAppExit = "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)";
inline constexpr const char* kViewMenu = "表示(&V)";
inline constexpr const char* kViewToolBar = "ﾂｰﾙ ﾊﾞｰ(&T)";
inline constexpr const char* kViewStatusBar = "ｽﾃｰﾀｽ ﾊﾞｰ(&S)";
inline constexpr const char* kViewUrlBar = "URLﾊﾞｰ(&U)";
// The character's voice on or off (kept in the profile).
inline constexpr const char* kViewVoice = "音声(&O)";
inline constexpr const char* kExecMenu = "実行(&E)";
inline constexpr const char* kExecRelease = "リリース(&R)...\tCtrl+R";
inline constexpr const char* kExecDebug = "デバッグ(&D)...\tCtrl+D";
inline constexpr const char* kExecConvert = "コンバート(&C)...\tCtrl+C";
inline constexpr const char* kExecRun = "実行(&E)...\tCtrl+E";
inline constexpr const char* kHelpMenu = "ﾍﾙﾌﾟ(&H)";
inline constexpr const char* kAppAbout = "ViewOrvo のﾊﾞｰｼﾞｮﾝ情報(&A)...";

// Status bar prompt, a line feed, then the tool tip.
inline constexpr const char* kPromptFileOpen = "既存のﾌｧｲﾙを開く\n開く";
inline constexpr const char* kPromptExecConvert = "ORVOをHTMLファイルに変換する\nコンバート";
inline constexpr const char* kPromptExecRun = "プレゼンテーションを実行\n実行";
inline constexpr const char* kPromptAppAbout =
    "ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報";

// Status bar: the idle prompt of the message pane; the mode pane is sized by
// its first text and then shows the mode.
inline constexpr const char* kIdlePrompt = "ﾚﾃﾞｨ";
inline constexpr const char* kModePaneSizer = "RELEASE";
inline constexpr const char* kModeRelease = "Release";
inline constexpr const char* kModeDebug = "Debug";

inline constexpr const char* kUrlLabel = "URL:";

// The two questions after a markup file was chosen.
inline constexpr const char* kAskConvert = "Do you want to convert the ORVO file to HTML file now?";
inline constexpr const char* kAskConvertCaption = "convert";
inline constexpr const char* kAskRun = "Do you want to run the ORVO file now?";
inline constexpr const char* kAskRunCaption = "run";

// The progress dialog of a large conversion; %1 pages done of %2.
inline constexpr const char* kConvertProgressCaption = "convert";
inline constexpr const char* kConvertProgress = "Converting the ORVO file: page %1 of %2";
inline constexpr const char* kConvertCancel = "Cancel";

// The open dialog: its one filter and the extension added to a bare name.
inline constexpr const char* kOpenFilter = "orvo file (*.orv)";
inline constexpr const char* kDefaultExtension = "orv";
inline constexpr const char* kMarkupExtension = "orv";
inline constexpr const char* kHtmlExtension = "html";

// The first page of each mode inside the output folder.
inline constexpr const char* kReleaseStartPage = "1.html";
inline constexpr const char* kDebugStartPage = "DebugFrame.html";

inline constexpr const char* kAboutCaption = "ViewOrvoのﾊﾞｰｼﾞｮﾝ情報";
inline constexpr const char* kAboutProduct = "Orvo  Viewer  Version 1.0";
inline constexpr const char* kAboutLanguage = "日本語版 (Linux)";
inline constexpr const char* kAboutCredits =
    "Linux 版: ViewOrvo の開発者たち\nQt 6 と Qt WebEngine を使用しています";

// The listening tip beside the character while the listening key is held,
// and what it says afterwards (%1: the command heard).
inline constexpr const char* kListening = "聞いています…";
inline constexpr const char* kHeardCommand = "「%1」";
inline constexpr const char* kNotUnderstood = "聞き取れませんでした";
inline constexpr const char* kNoMicrophone = "マイクがありません";
inline constexpr const char* kHearingUnavailable = "音声認識が使えません";
// The toolbar button held down to speak: status bar prompt and tool tip.
inline constexpr const char* kPromptListen = "押している間、音声コマンドを聞く\n聞く";

// A file handed to the application that cannot be opened as a document.
inline constexpr const char* kCannotOpenDocumentCaption = "ViewOrvo";

} // namespace orvo::app::texts
