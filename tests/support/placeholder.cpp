// Keeps the support library non-empty before the first support file lands.
namespace adres_test_support {
int placeholder = 0;
}
