// Help Contents: where the README lies and how it is shown.
#pragma once

#include <QString>

class QWidget;

// The README or manual Help Contents shows; empty when none is found.
QString HelpFilePath();
// Shows the help file as HTML in the desktop's browser (the Markdown source
// when no page can be written); tells the user when there is none or it
// cannot be opened.
void ShowHelpContents(QWidget* parent);
