#pragma once

class QApplication;
class QFont;

// 宋体 at 9 points where the system has it, otherwise a CJK font of the system, so that the
// Chinese captions always render.
QFont programFont();
void applyProgramFont(QApplication& app);
