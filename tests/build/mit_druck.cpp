// A printer class in the logic layer: must not compile against cardforge_logic.
#include <QPrinter>
