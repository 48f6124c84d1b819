// Placeholder until the application shell lands.
namespace app { int placeholder = 0; }
