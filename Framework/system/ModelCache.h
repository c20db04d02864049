#pragma once

namespace zor {

// The model cache handed to the game states. No model format exists yet; the cache holds
// nothing the system reads.
class ModelCache {};

} // namespace zor
