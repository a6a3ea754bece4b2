quarn_test_suite(quarn_nav_tests nav LIBS quarn_nav)
