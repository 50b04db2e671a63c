#pragma once

class QWidget;

namespace qm::bench {

// As soon as the window has painted itself for the first time (the moment a user would see it),
// writes "shown" to standard output and ends the application with exit status 0.
void quitAfterFirstPaint(QWidget* window);

} // namespace qm::bench
