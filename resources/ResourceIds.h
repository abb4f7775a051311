#pragma once
// Resource identifiers shared by Corvane.rc and the code that loads the resources.

#define IDI_CORVANE 1
// Strips of 16 x 16 images, 32-bit with alpha, one image after another from left to right.
#define IDB_TOOLBAR_HOT 101     // the docked toolbar's pictures in colour, in images/toolbar.txt
#define IDB_TOOLBAR_NORMAL 102  // the same in greys
#define IDB_BROWSER_HOT 103     // the browser window's pictures in colour, in images/browser.txt
#define IDB_BROWSER_NORMAL 104  // the same in greys
