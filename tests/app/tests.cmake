quarn_test_suite(quarn_app_tests app LIBS quarn_app)
