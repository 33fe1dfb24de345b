#pragma once

// Message texts shared by several readers and writers, kept in UTF-8 here and
// turned into the active code page with localText() before they are shown.

namespace orvo::platform::texts {

// "File %s cannot be opened".
inline constexpr const char* kCannotOpenFile = "ﾌｧｲﾙ%sがｵｰﾌﾟﾝできない";
// Captions: read error, write error (echo files), write-out error (pages).
inline constexpr const char* kReadError = "読み出しｴﾗｰ";
inline constexpr const char* kWriteError = "書き込みｴﾗｰ";
inline constexpr const char* kWriteOutError = "書き出しｴﾗｰ";

} // namespace orvo::platform::texts
