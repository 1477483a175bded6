<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="EVALUATE_MOC_DATE" fieldtype="date"/>
<FIELD attrname="EVALUATE_PRIVATE_DATE" fieldtype="date"/>
<FIELD attrname="EVALUATE_DATE3" fieldtype="date"/>
<FIELD attrname="EVALUATE_DATE4" fieldtype="date"/>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="SALES_COMPANY" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_SECTION" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_STUFF" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_ADDRESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_TEL_NO" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_FAX_NO" fieldtype="string" WIDTH="255"/>
<FIELD attrname="KEYWD_SAFETY_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="KEYWD_ENV_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="KEYWD_INFO_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="KEYWD_COST_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="KEYWD_QUALITY_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="KEYWD_LANDSCAPE_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="KEYWD_TRADITION_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="KEYWD_RECYCLE_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="KEYWD_FREE1" fieldtype="string" WIDTH="64"/>
<FIELD attrname="KEYWD_FREE2" fieldtype="string" WIDTH="64"/>
<FIELD attrname="KEYWD_FREE3" fieldtype="string" WIDTH="64"/>
<FIELD attrname="TERGET_MAN_COUNT_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_MAN_POWER_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_EFFICIENCY_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_ACCURACY_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_ENDURANCE_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_SAFTY_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_WORK_ENV_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_AREA_ENV_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_EARTH_ENV_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_RESOURCE_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_RESULT_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_RECYCLE_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TERGET_OTHER_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_TECH_TITLE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="COMPARE_BASE_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_PROCESS" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_PROCESS_RATE" fieldtype="r8"/>
<FIELD attrname="COMPARE_PROCESS_NOTE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="COMPARE_MAN_COUNT" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_MAN_COUNT_RATE" fieldtype="r8"/>
<FIELD attrname="COMPARE_MAN_COUNT_NOTE" fieldtype="string" WIDTH="64"/>
<FIELD attrname="COMPARE_COST" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_COST_RATE" fieldtype="r8"/>
<FIELD attrname="COMPARE_COST_NOTE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="COMPARE_CONST_MANAGE" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_CONST_MANAGE_NOTE" fieldtype="string" WIDTH="64"/>
<FIELD attrname="COMPARE_SAFTY" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_SAFTY_NOTE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="COMPARE_CONSTRUCT" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_CONSTRUCT_NOTE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="COMPARE_ENV" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_ENV_NOTE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="COMPARE_PURPOSE" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_PURPOSE_NOTE" fieldtype="string" WIDTH="64"/>
<FIELD attrname="COMPARE_QUALITY" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="COMPARE_QUALITY_NOTE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="COMPARE_OTHER_NOTE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="RESULTS_MOC" fieldtype="r8"/>
<FIELD attrname="RESULTS_PUBLIC" fieldtype="r8"/>
<FIELD attrname="RESULTS_PRIVATE" fieldtype="r8"/>
<FIELD attrname="RESULTS_TECH_USE" fieldtype="r8"/>
<FIELD attrname="RESULTS_SPE_TECH" fieldtype="r8"/>
<FIELD attrname="RESULTS_TEST" fieldtype="r8"/>
<FIELD attrname="RESULTS_RECYCLE" fieldtype="r8"/>
<FIELD attrname="CERTIFY_PATENT_STAT" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="CERTIFY_PATENT_NO" fieldtype="string" WIDTH="255" SUBTYPE="FixedChar"/>
<FIELD attrname="CERTIFY_IDEA_STAT" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="CERTIFY_IDEA_NO" fieldtype="string" WIDTH="255" SUBTYPE="FixedChar"/>
<FIELD attrname="EVALUATE_MOC_NO" fieldtype="string" WIDTH="20" SUBTYPE="FixedChar"/>
<FIELD attrname="EVALUATE_PRIVATE_NO" fieldtype="string" WIDTH="20" SUBTYPE="FixedChar"/>
<FIELD attrname="EVALUATE_ORGAN_CODE" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="EVALUATE_NAME3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_NO3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_ORGAN_NAME3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_SCOPE3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_NAME4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_NO4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_ORGAN_NAME4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_SCOPE4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="CST_TBL_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="SALES_COMPANY_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_SECTION_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_STUFF_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_ADDRESS_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_TEL_NO_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_FAX_NO_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="TERGET_OTHER" fieldtype="string" WIDTH="50"/>
<FIELD attrname="SALES_POST_CODE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_POST_CODE_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="POLICY_TECH_YN" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="RECOMMEND_TECH_YN" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="SALES_E_MAIL" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_E_MAIL_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="RECOMMEND_CNT" fieldtype="r8"/>
<FIELD attrname="THEME_TECH_YN" fieldtype="string" WIDTH="4" SUBTYPE="FixedChar"/>
<FIELD attrname="SALES_URL" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_URL_BUSINESS" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_MOC_URL" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_PRIVATE_URL" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_URL3" fieldtype="string" WIDTH="255"/>
<FIELD attrname="EVALUATE_URL4" fieldtype="string" WIDTH="255"/>
<FIELD attrname="COST_TYPE" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="NEWTECH_COST_ONE" fieldtype="r8"/>
<FIELD attrname="NEWTECH_COST_THREE" fieldtype="r8"/>
<FIELD attrname="NEWTECH_COST_FIVE" fieldtype="r8"/>
<FIELD attrname="NEWTECH_COST_TEN" fieldtype="r8"/>
<FIELD attrname="OLDTECH_COST_ONE" fieldtype="r8"/>
<FIELD attrname="OLDTECH_COST_THREE" fieldtype="r8"/>
<FIELD attrname="OLDTECH_COST_FIVE" fieldtype="r8"/>
<FIELD attrname="OLDTECH_COST_TEN" fieldtype="r8"/>
<FIELD attrname="CERTIFY_IDEA_GENERAL" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="CERTIFY_IDEA_PRIVATE" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
