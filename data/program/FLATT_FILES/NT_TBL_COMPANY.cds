<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="REC_ID" fieldtype="r8"/>
<FIELD attrname="REG_NO" fieldtype="string" WIDTH="10" SUBTYPE="FixedChar"/>
<FIELD attrname="SALES_COMPANY_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_SECTION_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_STUFF_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_ADDRESS_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_TEL_NO_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_FAX_NO_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_POST_CODE_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_E_MAIL_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_URL_OTHER" fieldtype="string" WIDTH="255"/>
<FIELD attrname="SALES_ORDER_OTHER" fieldtype="r8"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
</ROWDATA>
</DATAPACKET>
