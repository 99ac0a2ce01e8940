#pragma once
// Every text the command line shows, in English and in Chinese. "{0}",
// "{1}"... stand for what is filled in.
#include <string_view>

namespace lumbrake::cli {

struct Message {
    std::wstring_view english;
    std::wstring_view chinese;
};

namespace msg {

inline constexpr Message kUsage{
    L"lumbrake-cli: the places bar of the Open and Save dialogs, for the current user.\n"
    L"\n"
    L"  lumbrake-cli show [--json]\n"
    L"      The mode and the five places as Lumbrake shows them, what is stored and what it means.\n"
    L"  lumbrake-cli check [--json]\n"
    L"      Whether the dialog can find each stored place; exit code 1 if it would drop one.\n"
    L"  lumbrake-cli set default | hidden | custom PLACE [PLACE...] [--dry-run] [--no-backup]\n"
    L"      Writes the mode as Lumbrake's apply does; saves the policy key to a backup file first.\n"
    L"  lumbrake-cli backup FILE\n"
    L"  lumbrake-cli restore FILE [--dry-run] [--no-backup]\n"
    L"      The whole comdlg32 policy key to or from a .reg file; restore checks what it wrote.\n"
    L"  lumbrake-cli export [--format reg|gpp] [--output FILE] [default | hidden | custom PLACE...]\n"
    L"      The current configuration, or the one given, as a .reg file or a Group Policy\n"
    L"      Preferences Registry.xml for User Configuration.\n"
    L"  lumbrake-cli preview [--list]\n"
    L"      Opens the classic Open dialog; --list prints its places and closes it.\n"
    L"\n"
    L"A PLACE is one of Desktop, Documents, Favorites, Recent, Music, Videos, Computer,\n"
    L"Network, History, Pictures, PublicDocuments, PublicMusic, PublicVideos (or the name\n"
    L"Lumbrake lists, such as 我的电脑), an entry with its id such as \"我的电脑|17\", or a full\n"
    L"folder path (C:\\..., \\\\server\\...). \"\" leaves a slot empty.\n"
    L"Exit codes: 0 done, 1 refused or failed, 2 usage error or unreadable input.\n",
    L"lumbrake-cli：为当前用户设置“打开/保存”对话框的常用位置栏。\n"
    L"\n"
    L"  lumbrake-cli show [--json]\n"
    L"      模式和五个位置（与 Lumbrake 显示的一样）、注册表中存的内容及其含义。\n"
    L"  lumbrake-cli check [--json]\n"
    L"      对话框能否找到每个已存的位置；有位置会被丢弃时退出码为 1。\n"
    L"  lumbrake-cli set default | hidden | custom 位置 [位置...] [--dry-run] [--no-backup]\n"
    L"      像 Lumbrake 的“应用”一样写入；写入前先把策略项备份到文件。\n"
    L"  lumbrake-cli backup 文件\n"
    L"  lumbrake-cli restore 文件 [--dry-run] [--no-backup]\n"
    L"      把整个 comdlg32 策略项保存到 .reg 文件或从中恢复；恢复后会核对写入的内容。\n"
    L"  lumbrake-cli export [--format reg|gpp] [--output 文件] [default | hidden | custom 位置...]\n"
    L"      当前的（或给出的）设置，导出为 .reg 文件或组策略首选项的 Registry.xml（用户配置）。\n"
    L"  lumbrake-cli preview [--list]\n"
    L"      打开经典的“打开”对话框；--list 列出其中的常用位置后自动关闭。\n"
    L"\n"
    L"位置可以是 Desktop、Documents、Favorites、Recent、Music、Videos、Computer、Network、\n"
    L"History、Pictures、PublicDocuments、PublicMusic、PublicVideos（或 Lumbrake 列表中的名称，\n"
    L"如 我的电脑）、带编号的列表项（如 \"我的电脑|17\"），或完整的文件夹路径（C:\\...、\n"
    L"\\\\服务器\\...）。\"\" 表示该位置留空。\n"
    L"退出码：0 完成，1 被拒绝或失败，2 用法错误或无法读取的输入。\n"};
inline constexpr Message kSeeHelp{L"Run \"lumbrake-cli --help\" for the commands.\n", L"运行 \"lumbrake-cli --help\" 查看命令。\n"};

inline constexpr Message kNoCommand{L"No command given.", L"没有给出命令。"};
inline constexpr Message kUnknownCommand{L"Unknown command: {0}", L"未知的命令：{0}"};
inline constexpr Message kUnknownOption{L"Unknown option: {0}", L"未知的选项：{0}"};
inline constexpr Message kOptionNotHere{L"This command does not take {0}.", L"这个命令不接受 {0}。"};
inline constexpr Message kMissingOptionValue{L"{0} needs a value.", L"{0} 需要一个值。"};
inline constexpr Message kUnknownFormat{L"Unknown format: {0} (reg or gpp).", L"未知的格式：{0}（应为 reg 或 gpp）。"};
inline constexpr Message kMissingFile{L"A file name is needed.", L"需要一个文件名。"};
inline constexpr Message kExtraArgument{L"Unexpected argument: {0}", L"多余的参数：{0}"};
inline constexpr Message kMissingMode{L"A mode is needed: default, hidden or custom.", L"需要一个模式：default、hidden 或 custom。"};
inline constexpr Message kUnknownMode{L"Unknown mode: {0} (default, hidden or custom).", L"未知的模式：{0}（应为 default、hidden 或 custom）。"};
inline constexpr Message kNoPlaces{L"custom needs one to five places.", L"custom 需要一到五个位置。"};
inline constexpr Message kTooManyPlaces{L"At most five places: {0} is one too many.", L"最多五个位置：{0} 多出来了。"};
inline constexpr Message kUnknownPlace{
    L"Not a place: \"{0}\". Give a folder's name (such as Desktop or Computer), an entry such as \"我的电脑|17\", or a full path.",
    L"不是一个位置：\"{0}\"。请给出文件夹名称（如 Desktop、Computer、我的电脑）、列表项（如 \"我的电脑|17\"）或完整路径。"};

inline constexpr Message kModeDefault{L"the system default", L"系统默认"};
inline constexpr Message kModeHidden{L"hidden (no places bar)", L"不显示常用位置栏"};
inline constexpr Message kModeCustom{L"custom places", L"自定义"};
inline constexpr Message kPlacesBarIs{L"Places bar: {0}", L"常用位置栏：{0}"};
inline constexpr Message kPolicyKeyIs{L"Policy key: {0}", L"策略项：{0}"};
inline constexpr Message kPolicyKeyAbsent{L"Policy key: {0} (does not exist)", L"策略项：{0}（不存在）"};
inline constexpr Message kShownAs{L"shown as", L"显示为"};
inline constexpr Message kStored{L"stored", L"存储为"};
inline constexpr Message kMeans{L"means", L"含义"};
inline constexpr Message kNothingStored{L"(nothing stored)", L"（未存储）"};
inline constexpr Message kEmpty{L"(empty)", L"（空）"};
inline constexpr Message kFolderIdListed{L"special folder {0}: {1} ({2})", L"特殊文件夹 {0}：{2}（{1}）"};
inline constexpr Message kFolderIdOther{L"special folder {0}: {1} (not in Lumbrake's list)", L"特殊文件夹 {0}：{1}（不在 Lumbrake 的列表中）"};
inline constexpr Message kFolderIdUnknown{L"special folder {0}, which this system does not know", L"特殊文件夹 {0}，本系统不认识"};
inline constexpr Message kFolderPath{L"the folder {0}", L"文件夹 {0}"};
inline constexpr Message kNotAPlace{L"not a place: the dialog drops a {0} value", L"不是位置：对话框会丢弃 {0} 类型的值"};
inline constexpr Message kNotShownWhileHidden{L"(These places are not shown while the places bar is hidden.)",
                                               L"（常用位置栏不显示时，这些位置不起作用。）"};
inline constexpr Message kOtherValues{L"Other values in the policy key (this program never changes them):",
                                      L"策略项中的其他值（本程序从不修改它们）："};
inline constexpr Message kOtherKey{L"  {0} (key)", L"  {0}（项）"};

inline constexpr Message kNoStoredPlaces{L"No places are stored: the dialogs show their own.", L"没有存储任何位置：对话框显示它自己的常用位置。"};
inline constexpr Message kFound{L"found: {0}", L"能找到：{0}"};
inline constexpr Message kDropped{L"DROPPED: {0}", L"会被丢弃：{0}"};
inline constexpr Message kUnknownFolderId{L"the system has no special folder {0} ({1}: {2})", L"系统没有编号为 {0} 的特殊文件夹（{1}：{2}）"};
inline constexpr Message kPathNotFound{L"the dialog cannot find this path ({0}: {1})", L"对话框找不到这个路径（{0}：{1}）"};
inline constexpr Message kWrongDwordSize{L"a REG_DWORD of {0} bytes is not a folder id", L"{0} 字节的 REG_DWORD 不是文件夹编号"};
inline constexpr Message kWrongType{L"a {0} value is neither a folder id nor a path", L"{0} 类型的值既不是文件夹编号也不是路径"};
inline constexpr Message kAllFound{L"The dialogs find all {0} stored places.", L"对话框能找到全部 {0} 个已存储的位置。"};
inline constexpr Message kSomeDropped{L"{0} of {1} stored places would be dropped by the Open and Save dialogs.",
                                      L"{1} 个已存储的位置中有 {0} 个会被“打开/保存”对话框丢弃。"};

inline constexpr Message kCreateKey{L"create key   {0}", L"新建项     {0}"};
inline constexpr Message kDeleteKey{L"delete key   {0} (with everything in it)", L"删除项     {0}（及其中的一切）"};
inline constexpr Message kDeleteKeyAlone{L"delete key   {0} (unless it holds keys)", L"删除项     {0}（其中有子项时保留）"};
inline constexpr Message kDeleteEmptyKey{L"delete key   {0} (if nothing is left in it)", L"删除项     {0}（如果其中已经没有任何内容）"};
inline constexpr Message kSetValue{L"set value    {0} = {1}", L"设置值     {0} = {1}"};
inline constexpr Message kReplaceValue{L"set value    {0} = {1} (was {2})", L"设置值     {0} = {1}（原为 {2}）"};
inline constexpr Message kDeleteValue{L"delete value {0} (was {1})", L"删除值     {0}（原为 {1}）"};
inline constexpr Message kChanges{L"Changes:", L"更改："};
inline constexpr Message kWouldChange{L"Would change (dry run, nothing is written):", L"将会更改（试运行，不写入任何内容）："};
inline constexpr Message kNothingToChange{L"Nothing to change: the registry already holds this.", L"无需更改：注册表中已经是这样。"};
inline constexpr Message kBackupSaved{L"Backup of the policy key: {0}", L"策略项已备份到：{0}"};
inline constexpr Message kBackupFailed{L"Cannot save the backup, so nothing was changed ({0}). Use --no-backup to change without one.",
                                       L"无法保存备份，因此没有做任何更改（{0}）。不需要备份时请用 --no-backup。"};
inline constexpr Message kCannotRead{L"Cannot read {0}, which is there: {1}", L"{0} 存在，但无法读取：{1}"};
inline constexpr Message kUnreadable{L"(could not be read)", L"（无法读取）"};
inline constexpr Message kOutputFailed{L"The output could not be written whole.", L"输出没能完整写入。"};
inline constexpr Message kNotInCodePage{
    L"Refused, nothing was written: \"{0}\" has characters that the system's ANSI code page cannot hold, and it would be stored with \"?\" in their place.",
    L"已拒绝，未写入任何内容：\"{0}\" 含有系统 ANSI 代码页无法表示的字符，存储时会变成“?”。"};
inline constexpr Message kNotDone{L"Not done: {0} ({1})", L"未完成：{0}（{1}）"};
inline constexpr Message kNotAsExpected{L"Not as expected afterwards: {0}", L"写入后核对不符：{0}"};
// In Chinese, set shows the window's own confirmation (MessageFor).
inline constexpr Message kSetDone{L"The places bar is now: {0}.", L""};
inline constexpr Message kSetFailed{L"Writing to the registry failed; the setting did not take effect as a whole.", L""};

inline constexpr Message kBackupWritten{L"Saved {0} to {1}.", L"已把 {0} 保存到 {1}。"};
inline constexpr Message kBackupOfAbsentKey{L"The policy key does not exist; restoring this file deletes it.",
                                            L"策略项不存在；恢复此文件会删除该项。"};
inline constexpr Message kCannotReadFile{L"Cannot read {0}: {1}", L"无法读取 {0}：{1}"};
inline constexpr Message kCannotWriteFile{L"Cannot write {0}: {1}", L"无法写入 {0}：{1}"};
inline constexpr Message kBadFile{L"{0}, line {1}: {2}. Nothing was changed.", L"{0}，第 {1} 行：{2}。没有做任何更改。"};
inline constexpr Message kNoKeyInFile{L"{0} names no key. Nothing was changed.", L"{0} 中没有任何项。没有做任何更改。"};
inline constexpr Message kOutsideKey{L"Refused, nothing was changed: {0}, line {1} names {2}, which is outside {3}.",
                                     L"已拒绝，没有做任何更改：{0} 第 {1} 行指向 {2}，不在 {3} 之内。"};
inline constexpr Message kAlreadyRestored{L"Nothing to change: the policy key already holds exactly what {0} holds.",
                                          L"无需更改：策略项与 {0} 中的内容完全相同。"};
inline constexpr Message kRestored{L"The policy key now holds exactly what {0} holds (read back and compared).",
                                   L"策略项现在与 {0} 中的内容完全相同（已读回核对）。"};
inline constexpr Message kRestoreFailed{L"The policy key does not hold what {0} holds.", L"策略项与 {0} 中的内容不符。"};

inline constexpr Message kNotARegistryFile{L"not a registry file (the first line is neither \"Windows Registry Editor Version 5.00\" nor \"REGEDIT4\")",
                                           L"不是注册表文件（第一行既不是 \"Windows Registry Editor Version 5.00\" 也不是 \"REGEDIT4\"）"};
inline constexpr Message kOddLength{L"the UTF-16 text ends in half a character", L"UTF-16 文本以半个字符结尾"};
inline constexpr Message kNotInFileCodePage{L"bytes that the ANSI code page does not define", L"含有 ANSI 代码页未定义的字节"};
inline constexpr Message kNulCharacter{L"a NUL character", L"含有 NUL 字符"};
inline constexpr Message kBadKeyLine{L"a malformed key line", L"项的格式错误"};
inline constexpr Message kValueWithoutKey{L"a value outside any key", L"值不属于任何项"};
inline constexpr Message kBadValueName{L"a malformed value name", L"值名称的格式错误"};
inline constexpr Message kBadEscape{L"an unknown escape after a backslash", L"反斜杠后的转义字符无法识别"};
inline constexpr Message kBadData{L"malformed value data", L"值数据的格式错误"};
inline constexpr Message kUnknownLine{L"a line that is neither a key, a value nor a comment", L"这一行既不是项、值，也不是注释"};

inline constexpr Message kExportWritten{L"Wrote {0}.", L"已写入 {0}。"};
inline constexpr Message kGppUnfit{L"Refused: {0}\\{1} cannot be expressed exactly in Group Policy Preferences.",
                                   L"已拒绝：{0}\\{1} 无法在组策略首选项中准确表示。"};

inline constexpr Message kPreviewFailed{L"The Open dialog did not open ({0}).", L"“打开”对话框没有打开（{0}）。"};
inline constexpr Message kNoPlacesBar{L"The dialog shows no places bar.", L"对话框没有显示常用位置栏。"};

}  // namespace msg
}  // namespace lumbrake::cli
