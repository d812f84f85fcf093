// Which mouse button a press or release concerns.
#pragma once

enum class MouseButton { Primary, Secondary, Middle };
