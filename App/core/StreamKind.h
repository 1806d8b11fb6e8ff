#pragma once

// Which pipe of a child a line came from.
enum class StreamKind { Out, Err };
