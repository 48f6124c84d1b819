// Placeholder until the common layer lands.
namespace common_placeholder { int placeholder = 0; }
