<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REG_DATE" fieldtype="date"/>
<FIELD attrname="DB_REG_DATE" fieldtype="date"/>
<FIELD attrname="DB_RENEW_DATE" fieldtype="date"/>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="TECH_TITLE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="TECH_SUBTITLE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="GATHER_MOC_CODE" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="TECH_DVLP_YEAR" fieldtype="string" WIDTH="4" SUBTYPE="FixedChar"/>
<FIELD attrname="TECH_GRP_CODE" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TECH_EVAL_YN" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="TECH_EVAL_RSLT" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP_CODE1" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP_CODE2" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP_CODE3" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP_CODE4" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP_CODE5" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="DVLP_TYPE_CODE" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="DVLP_COOPERATIVE" fieldtype="string" WIDTH="255"/>
<FIELD attrname="TECH_DVLP_COMPANY" fieldtype="string" WIDTH="255"/>
<FIELD attrname="FLG" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="WORD_FLG" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="DVLP_COMPANY_CODE" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="REG_VERSION" fieldtype="r8"/>
<FIELD attrname="OPEN_DIV_CD" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL1_COMBO" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL2_COMBO" fieldtype="string" WIDTH="5" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL3_COMBO" fieldtype="string" WIDTH="7" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL4_COMBO" fieldtype="string" WIDTH="9" SUBTYPE="FixedChar"/>
<FIELD attrname="DATA_TYPE_CODE" fieldtype="string" WIDTH="1" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP2_CODE2" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP2_CODE3" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP2_CODE4" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP2_CODE5" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP3_CODE2" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP3_CODE3" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP3_CODE4" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP3_CODE5" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP4_CODE2" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP4_CODE3" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP4_CODE4" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP4_CODE5" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP5_CODE2" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP5_CODE3" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP5_CODE4" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="GRP5_CODE5" fieldtype="string" WIDTH="2" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL1_COMBO2" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL2_COMBO2" fieldtype="string" WIDTH="5" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL3_COMBO2" fieldtype="string" WIDTH="7" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL4_COMBO2" fieldtype="string" WIDTH="9" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL1_COMBO3" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL2_COMBO3" fieldtype="string" WIDTH="5" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL3_COMBO3" fieldtype="string" WIDTH="7" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL4_COMBO3" fieldtype="string" WIDTH="9" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL1_COMBO4" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL2_COMBO4" fieldtype="string" WIDTH="5" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL3_COMBO4" fieldtype="string" WIDTH="7" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL4_COMBO4" fieldtype="string" WIDTH="9" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL1_COMBO5" fieldtype="string" WIDTH="3" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL2_COMBO5" fieldtype="string" WIDTH="5" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL3_COMBO5" fieldtype="string" WIDTH="7" SUBTYPE="FixedChar"/>
<FIELD attrname="LEVEL4_COMBO5" fieldtype="string" WIDTH="9" SUBTYPE="FixedChar"/>
<FIELD attrname="SUMMARY" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
