// Help Contents: where the README lies and how it is shown.
#pragma once

#include <QString>

class QWidget;

// The README or manual Help Contents shows; empty when none is found.
QString HelpFilePath();
// Where the HTML page made from it goes: a folder of the user's own (the
// per-user runtime folder, else the user's cache folder), never a fixed
// name in the shared temporary folder. Empty when there is none.
QString HelpPagePath();
// Shows the help file as HTML in the desktop's browser (the Markdown source
// when no page can be written); tells the user when there is none, or when
// the browser does not start or reports a failure.
void ShowHelpContents(QWidget* parent);
