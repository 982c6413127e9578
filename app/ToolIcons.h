#pragma once

#include <QIcon>

namespace app {

// The 32 by 32 pictures of the tool buttons, drawn at run time.
enum class ToolIcon { Price, Order, Archive, Invoice, Reference, Refresh, Send, Tools, Windows };

QIcon toolIcon(ToolIcon which);

} // namespace app
