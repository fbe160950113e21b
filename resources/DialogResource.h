#pragma once
// Dialog templates as resources: Qt Designer files resources/dialogs/<id>.ui, built into the
// program and found by resource number. Each control carries its identifier as the dynamic
// property "controlId".
//
// Texts: a template holds its English texts (what Designer shows and edits). The other three
// languages keep theirs in resources/dialogs/<language>.dialogtexts, one line per text:
//
//   104/groupRegistered<TAB>登録チャンネル
//
// keyed by dialog number and the widget's object name (every widget of a .ui file has a unique
// one, static labels included); "<id>/<top object name>" is the window title. Escapes: \n, \t,
// \\. A text a language lacks stays English.
#include "resources/StringTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace kelto {

// The Designer file of a dialog, or nullopt when no dialog has that number.
std::optional<std::string_view> dialogTemplate(int dialogId);

// A dialog text in the language (nullopt for English, whose texts are in the template itself,
// and for texts the language lacks).
std::optional<std::string> dialogText(UiLanguage language, int dialogId, std::string_view objectName);

}  // namespace kelto
