// A widget in the logic layer: must not compile against cardforge_logic.
#include <QWidget>
