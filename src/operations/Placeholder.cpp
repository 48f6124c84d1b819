// Placeholder until the operation dialogs land.
namespace operations { int placeholder = 0; }
