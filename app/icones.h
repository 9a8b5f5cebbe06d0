#pragma once

class QIcon;

// Both drawn at start-up, 32 x 32; they differ so the window and the button are told apart.
QIcon iconeFrmInit();
QIcon iconeSelectionActe();
