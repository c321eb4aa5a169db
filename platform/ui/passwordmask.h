#pragma once

class QLineEdit;

// A password box whose every character shows as "*", as the class library
// drew it, whatever mask the desktop's style would use.
void maskWithStars(QLineEdit *edit);
