// A stand-in for the suite maker's tools library: it counts the calls of its
// two exports so that tests can see that the program reached them.
extern "C" {

__attribute__((visibility("default"))) int fake_qx_about_calls = 0;
__attribute__((visibility("default"))) int fake_qx_qxvc_calls = 0;

__attribute__((visibility("default"))) void DoAbout() { ++fake_qx_about_calls; }
__attribute__((visibility("default"))) void DoQXVC() { ++fake_qx_qxvc_calls; }

}
